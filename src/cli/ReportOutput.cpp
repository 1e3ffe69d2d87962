#include "cli/ReportOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "calc/OutputFiles.h"

namespace kadrel::cli {
namespace {

// Rows are small and many: they go out in blocks of about this size, and at every Flush.
constexpr std::size_t kBlock = 1 << 16;

}  // namespace

ReportOutput::ReportOutput(const std::string& file, bool append) : name_(file), fd_(STDOUT_FILENO) {
    if (!file.empty()) fd_ = ::open(file.c_str(), O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC) | O_CLOEXEC, 0666);
    if (fd_ < 0) error_ = errno;
    opened_ = fd_ >= 0;
}

ReportOutput::~ReportOutput() { Close(); }

void ReportOutput::Write(std::string_view text) {
    if (Failed()) return;
    pending_ += text;
    if (pending_.size() >= kBlock) Flush();
}

bool ReportOutput::Flush() {
    if (!Failed()) error_ = WriteAll(fd_, pending_);
    pending_.clear();
    return !Failed();
}

bool ReportOutput::Close() {
    Flush();
    if (!name_.empty() && fd_ >= 0) {
        if (::close(fd_) != 0 && !Failed()) error_ = errno;
        fd_ = -1;
    }
    return !Failed();
}

bool ReportOutput::ReaderGone() const { return error_ == EPIPE; }

std::string ReportOutput::Problem() const {
    const std::string reason = std::string(" (") + std::strerror(error_) + ")";
    const std::string file = name_.empty() ? "(standard output)" : "\"" + name_ + "\"";
    if (!opened_) return "cannot write the output " + file + reason;
    return "writing the output " + file + " failed" + reason;
}

}  // namespace kadrel::cli
