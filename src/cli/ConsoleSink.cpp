#include "cli/ConsoleSink.h"

#include <iostream>

namespace kadrel::cli {

ConsoleSink::ConsoleSink(ReportOutput& out, std::stop_source stop, bool verbose, bool pairProgress)
    : out_(out), stop_(std::move(stop)), pairProgress_(pairProgress), verbose_(verbose) {}

void ConsoleSink::Append(std::string_view text) {
    out_.Write(text);
    if (out_.Failed()) stop_.request_stop();
}

void ConsoleSink::RecordFinished(std::size_t) {
    if (!out_.Flush()) stop_.request_stop();
}

void ConsoleSink::Progress(std::size_t done, std::size_t total) {
    if (pairProgress_) status_.Show(std::to_string(done) + " of " + std::to_string(total) + " pairs", done == total);
}

void ConsoleSink::Warning(std::string_view message) {
    ClearProgress();
    std::cerr << "kadrel: warning: " << message << "\n";
}

void ConsoleSink::RecordWarning(std::string_view message, bool pairsFail) {
    if (verbose_) return Warning(message);
    if (recordWarnings_++ == 0) onlyWarning_ = message;
    if (pairsFail) ++failingRecords_;
}

std::string ConsoleSink::RecordWarningsLine() const {
    if (recordWarnings_ == 0) return {};
    if (recordWarnings_ == 1) return "kadrel: warning: " + onlyWarning_;
    std::string line = "kadrel: warning: " + std::to_string(recordWarnings_) + " records warned of (";
    if (failingRecords_ > 0) line += std::to_string(failingRecords_) + " with NA pairs, ";
    return line + "first: " + onlyWarning_ + "); --verbose shows each";
}

void ConsoleSink::ClearProgress() { status_.Clear(); }

std::string ClosingSummary(const RunSummary& summary, const std::string& more) {
    std::string text = std::to_string(summary.pairsCompared) + " pairs compared (" +
                       std::to_string(summary.pairsAligned) + " aligned, " + std::to_string(summary.pairsReused) +
                       " reused";
    if (summary.pairsResumed != 0) text += ", " + std::to_string(summary.pairsResumed) + " from the backup";
    const std::size_t unalignable =
        summary.pairsCompared - summary.pairsAligned - summary.pairsReused - summary.pairsResumed;
    if (unalignable != 0) text += ", " + std::to_string(unalignable) + " not alignable";
    text += "), " + std::to_string(summary.pairsFailed) + " failed" + (more.empty() ? "" : ", " + more);
    return summary.stopped ? text + ", stopped" : text;
}

}  // namespace kadrel::cli
