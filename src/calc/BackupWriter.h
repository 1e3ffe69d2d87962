#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace kadrel {

// Keeps a backup of the report as it stood after the last finished set-1 record, and never
// destroys the one it replaces. The first Commit of a run writes a temporary file beside the
// backup, flushes it to disk and renames it over the old one, so a failure there (a full disk)
// leaves the previous run's backup whole. Later Commits append to that file, as rewriting it
// whole at every record would cost the square of the report's size, and a failed append is cut
// back to the last good size. Either way the file is the report as of some finished record.
class BackupWriter {
public:
    // A symbolic link is followed: its target is replaced, not the link.
    explicit BackupWriter(std::filesystem::path file);
    ~BackupWriter();
    BackupWriter(const BackupWriter&) = delete;
    BackupWriter& operator=(const BackupWriter&) = delete;

    // Report text since the last Commit.
    void Append(std::string_view text) {
        if (!failed_) pending_ += text;
    }
    // Goes on with a backup an earlier run left, cut back to its first `size` bytes, the whole
    // records a reader found there: later Commits append to it, and the file is never replaced.
    // False when it cannot be opened to write (the reason in Error()); nothing was changed then.
    bool GoOnAfter(off_t size);
    // Writes what was appended; false when the file cannot be written (the reason in Error()).
    // After a failure the backup is given up for the run: later Commits write nothing and
    // return true, so the caller warns once.
    bool Commit();
    const std::string& Error() const { return error_; }
    // The system's reason alone, for a caller that keeps the file as more than a backup.
    const std::string& Reason() const { return reason_; }

private:
    // Empty, or why the file could not be written.
    std::string Replace();
    std::string AppendPending();
    bool Fail(const std::string& reason);

    std::filesystem::path file_;    // as given, for messages
    std::filesystem::path target_;  // the file written
    std::string pending_;
    std::string error_, reason_;
    int fd_ = -1;  // open from the first Commit on
    off_t goodSize_ = 0;
    bool failed_ = false;
};

}  // namespace kadrel
