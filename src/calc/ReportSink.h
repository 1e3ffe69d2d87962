#pragma once
#include <cstddef>
#include <string_view>

namespace kadrel {

// Where a run sends what it produces, always in report order and from the run's own thread.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void Append(std::string_view text) = 0;
    // The pairs of set-1 record `index` are all in the report, and in the run's backup.
    virtual void RecordFinished(std::size_t index) = 0;
    virtual void Progress(std::size_t pairsDone, std::size_t pairsTotal) = 0;
    // A problem the user should hear of that does not stop the run.
    virtual void Warning(std::string_view message) = 0;
};

}  // namespace kadrel
