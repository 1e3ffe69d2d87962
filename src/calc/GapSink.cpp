#include "calc/GapSink.h"

#include <limits>

#include "distances/PairRow.h"

namespace kadrel {

GapSink::GapSink(ReportSink& inner, GapAnalysis& analysis, DistanceModel model, std::size_t records, RowReceiver rows)
    : PairsOnlySink(inner), analysis_(analysis), model_(model), records_(records), rows_(std::move(rows)) {}

void GapSink::RecordBegun(std::size_t index, std::string_view) {
    current_ = index;
    if (rows_) later_.assign(index + 1 < records_ ? records_ - index - 1 : 0, std::numeric_limits<double>::infinity());
}

void GapSink::PairDone(std::size_t first, std::size_t second, std::string_view, std::string_view,
                       const PairRow& row) {
    const Value distance = row.RankingDistance(model_);
    if (distance) analysis_.Offer(first, second, *distance);
    if (rows_ && first == current_ && second > first && second - first - 1 < later_.size())
        later_[second - first - 1] = distance ? *distance : std::numeric_limits<double>::quiet_NaN();
}

void GapSink::RecordFinished(std::size_t index) {
    if (rows_ && index == current_) rows_(index, later_);
    inner_.RecordFinished(index);
}

GapAnalysis NewGapAnalysis(const std::vector<RecordTaxon>& taxa) {
    std::vector<std::string> ids, species;
    for (const RecordTaxon& taxon : taxa) {
        ids.push_back(taxon.id);
        species.push_back(taxon.lineage.At(Rank::Species));
    }
    return GapAnalysis(ids, species);
}

}  // namespace kadrel
