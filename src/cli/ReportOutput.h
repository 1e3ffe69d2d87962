#pragma once
#include <string>
#include <string_view>

namespace kadrel::cli {

// Where the report goes: standard output, or a file made (or emptied) for it. Writes are
// gathered and go out at Flush or when enough has gathered; the first failure is kept with the
// system's reason, and nothing more is written after it.
class ReportOutput {
public:
    // Standard output when `file` is empty. Check Failed() before the first write. `append`: the
    // file is written on from its end rather than emptied.
    explicit ReportOutput(const std::string& file, bool append = false);
    ~ReportOutput();
    ReportOutput(const ReportOutput&) = delete;
    ReportOutput& operator=(const ReportOutput&) = delete;

    void Write(std::string_view text);
    bool Flush();
    // Flushes and, for a file, closes it (where some file systems report a failed write).
    bool Close();

    bool Failed() const { return error_ != 0; }
    // The reader went away (a closed pipe): the report is not wanted any more, nothing is wrong.
    bool ReaderGone() const;
    // What went wrong, naming the file and the system's reason.
    std::string Problem() const;

private:
    std::string name_;  // empty: standard output
    int fd_;
    std::string pending_;
    int error_ = 0;
    bool opened_ = false;
};

}  // namespace kadrel::cli
