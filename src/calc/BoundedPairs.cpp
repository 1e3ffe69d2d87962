#include "calc/BoundedPairs.h"

#include "align/AlignerInput.h"
#include "calc/LoadedRecord.h"

namespace kadrel {

BoundedPairs::BoundedPairs(const WordIndex& index, const HitRule& rule, const IdentificationSink& sink)
    : index_(index), rule_(rule), sink_(sink) {}

std::vector<std::size_t> BoundedPairs::Next(std::size_t first, const LoadedRecord& record, std::size_t round) {
    std::vector<std::size_t> chosen;
    if (round == 1) {
        if (!sink_.Settled(first)) chosen.swap(others_);
        others_.clear();
        return chosen;
    }
    others_.clear();
    if (round != 0) return chosen;
    const SequenceWords query = ReadWords(SequenceResidues(record.record.text), index_.WordLength());
    const std::uint64_t least = LeastCompared(rule_, query.bases);
    const auto needed = NeededShared(rule_, index_.WordLength(), least, query.brokenWindows);
    index_.CountShared(query, shared_);
    // A query too short for any hit has no first round.
    const bool hitPossible = query.bases >= least;
    for (std::size_t k = 0; k < index_.References(); ++k) {
        const bool can = hitPossible && CanBeHit(needed, least, shared_[k], index_.Bases(k), index_.BrokenWindows(k));
        (can ? chosen : others_).push_back(k);
    }
    // With none kept nothing would be aligned, and nothing settled: the second round at once.
    if (chosen.empty()) chosen.swap(others_);
    return chosen;
}

}  // namespace kadrel
