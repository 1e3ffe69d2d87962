#pragma once
#include <chrono>
#include <stop_token>
#include <string>

#include "calc/ReportSink.h"
#include "calc/RunComparison.h"
#include "cli/ReportOutput.h"
#include "cli/StatusLine.h"

namespace kadrel::cli {

// Writes the report to its output, flushed at every set-1 record's end; shows progress while
// standard error is a terminal. A failed write to the output stops the run: nobody reads the
// report any more. Record warnings are shown as they come only when `verbose`; otherwise they
// are counted for one closing line, as large sets give hundreds of them.
class ConsoleSink : public ReportSink {
public:
    // `pairProgress` false: the caller shows its own progress, through Status.
    ConsoleSink(ReportOutput& out, std::stop_source stop, bool verbose = false, bool pairProgress = true);

    void Append(std::string_view text) override;
    void RecordFinished(std::size_t index) override;
    void Progress(std::size_t done, std::size_t total) override;
    void Warning(std::string_view message) override;
    void RecordWarning(std::string_view message, bool pairsFail) override;
    void ClearProgress();
    // A line of progress of the caller's, shown and cleared as the pairs' progress is.
    void Status(const std::string& text, bool now = false) { status_.Show(text, now); }
    // The closing line for the record warnings not shown; empty when there is none. A single
    // warning is shown whole.
    std::string RecordWarningsLine() const;

private:
    ReportOutput& out_;
    std::stop_source stop_;
    StatusLine status_;
    bool pairProgress_;
    bool verbose_;
    std::size_t recordWarnings_ = 0, failingRecords_ = 0;
    std::string onlyWarning_;  // the first one, shown whole when it stays the only one
};

// The closing line of a run: "N pairs compared (A aligned, R reused[, B from the backup][, U not
// alignable]), F failed[, more][, stopped]".
std::string ClosingSummary(const RunSummary& summary, const std::string& more);

}  // namespace kadrel::cli
