#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace kadrel {

// Keeps a backup of the report as it stood after the last finished set-1 record. The file is
// replaced at the first Commit of a run and appended to (and flushed) at every later one, so it
// always equals the report so far without being rewritten whole each time.
class BackupWriter {
public:
    explicit BackupWriter(std::filesystem::path file) : file_(std::move(file)) {}

    // Report text since the last Commit.
    void Append(std::string_view text) { pending_ += text; }
    // Writes what was appended; false when the file cannot be written (the reason in Error()).
    // After a failure the backup is given up for the run: later Commits write nothing and
    // return true, so the caller warns once.
    bool Commit();
    const std::string& Error() const { return error_; }

private:
    std::filesystem::path file_;
    std::string pending_;
    std::string error_;
    bool started_ = false;
    bool failed_ = false;
};

}  // namespace kadrel
