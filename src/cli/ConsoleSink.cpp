#include "cli/ConsoleSink.h"

#include <unistd.h>

#include <iostream>

namespace kadrel::cli {

ConsoleSink::ConsoleSink(ReportOutput& out, std::stop_source stop)
    : out_(out), stop_(std::move(stop)), showProgress_(::isatty(STDERR_FILENO) == 1) {}

void ConsoleSink::Append(std::string_view text) {
    out_.Write(text);
    if (out_.Failed()) stop_.request_stop();
}

void ConsoleSink::RecordFinished(std::size_t) {
    if (!out_.Flush()) stop_.request_stop();
}

void ConsoleSink::Progress(std::size_t done, std::size_t total) {
    if (!showProgress_) return;
    // The built-in aligner reports thousands of pairs a second: a terminal needs a few lines.
    const auto now = std::chrono::steady_clock::now();
    if (done != total && now - lastProgress_ < std::chrono::milliseconds(100)) return;
    lastProgress_ = now;
    std::cerr << "\rkadrel: " << done << " of " << total << " pairs" << std::flush;
    progressShown_ = true;
}

void ConsoleSink::Warning(std::string_view message) {
    ClearProgress();
    std::cerr << "kadrel: warning: " << message << "\n";
}

void ConsoleSink::ClearProgress() {
    if (progressShown_) std::cerr << "\r\033[K";
    progressShown_ = false;
}

}  // namespace kadrel::cli
