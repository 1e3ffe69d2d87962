#pragma once
#include <chrono>
#include <stop_token>

#include "calc/ReportSink.h"
#include "cli/ReportOutput.h"

namespace kadrel::cli {

// Writes the report to its output, flushed at every set-1 record's end; shows progress while
// standard error is a terminal. A failed write to the output stops the run: nobody reads the
// report any more.
class ConsoleSink : public ReportSink {
public:
    ConsoleSink(ReportOutput& out, std::stop_source stop);

    void Append(std::string_view text) override;
    void RecordFinished(std::size_t index) override;
    void Progress(std::size_t done, std::size_t total) override;
    void Warning(std::string_view message) override;
    void ClearProgress();

private:
    ReportOutput& out_;
    std::stop_source stop_;
    bool showProgress_;
    bool progressShown_ = false;
    std::chrono::steady_clock::time_point lastProgress_{};
};

}  // namespace kadrel::cli
