#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

struct PairRow;

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
    // A warning about one record: characters counted as identical sites, or (`pairsFail`) why its
    // pairs are NA. Large sets give hundreds, so a front end may gather them.
    virtual void RecordWarning(std::string_view message, bool /*pairsFail*/) { Warning(message); }

    // For sinks that keep more than the report's text, in report order: set 2's record names,
    // once, before any row; each set-1 record as it enters the report (with its first row, or at
    // its end when it has none); every compared pair as its row is appended. Positions from 0.
    virtual void SecondNames(const std::vector<std::string>& /*names*/) {}
    virtual void RecordBegun(std::size_t /*index*/, std::string_view /*name*/) {}
    virtual void PairDone(std::size_t /*first*/, std::size_t /*second*/, std::string_view /*name1*/,
                          std::string_view /*name2*/, const PairRow& /*row*/) {}
    // A pair left out because both folder sets hold a file of that name, where its row would be.
    virtual void PairSkipped(std::size_t /*first*/, std::size_t /*second*/, std::string_view /*name1*/,
                             std::string_view /*name2*/) {}
};

// A sink that turns the pairs into something other than the report's text: the text is dropped,
// and what the user must still hear of (progress, warnings) goes on to `inner`.
class PairsOnlySink : public ReportSink {
public:
    explicit PairsOnlySink(ReportSink& inner) : inner_(inner) {}
    void Append(std::string_view) override {}
    void Progress(std::size_t done, std::size_t total) override { inner_.Progress(done, total); }
    void Warning(std::string_view message) override { inner_.Warning(message); }
    void RecordWarning(std::string_view message, bool pairsFail) override { inner_.RecordWarning(message, pairsFail); }

protected:
    ReportSink& inner_;
};

}  // namespace kadrel
