#pragma once
#include <cstddef>
#include <functional>
#include <vector>

#include "calc/GapAnalysis.h"
#include "calc/IdentifyRun.h"
#include "calc/ReportSink.h"
#include "distances/DistanceModel.h"

namespace kadrel {

// Takes the pairs of a library compared with itself (RunComparison with laterOnly) into a
// GapAnalysis, by the run's distance (the model's, or p under none). The comparison's report is
// not kept. Each record's distances to the records after it go, once it is done, to the row
// receiver (NaN for NA, infinity for a pair not done), for a matrix; progress and warnings go on
// to `inner`.
class GapSink : public PairsOnlySink {
public:
    using RowReceiver = std::function<void(std::size_t record, const std::vector<double>& later)>;
    GapSink(ReportSink& inner, GapAnalysis& analysis, DistanceModel model, std::size_t records, RowReceiver rows);

    void RecordFinished(std::size_t index) override;
    void RecordBegun(std::size_t index, std::string_view name) override;
    void PairDone(std::size_t first, std::size_t second, std::string_view name1, std::string_view name2,
                  const PairRow& row) override;

private:
    GapAnalysis& analysis_;
    DistanceModel model_;
    std::size_t records_;
    RowReceiver rows_;
    std::size_t current_ = 0;
    std::vector<double> later_;
};

// The analysis of a library whose records are `taxa`, their species by their lineage.
GapAnalysis NewGapAnalysis(const std::vector<RecordTaxon>& taxa);

}  // namespace kadrel
