#include "calc/BoundedPairs.h"

#include "align/AlignerInput.h"
#include "calc/LoadedRecord.h"

namespace kadrel {

BoundedPairs::BoundedPairs(const WordIndex& index, const HitRule& rule) : index_(index), rule_(rule) {}

std::vector<std::size_t> BoundedPairs::Next(std::size_t, const LoadedRecord& record, std::size_t round) {
    std::vector<std::size_t> chosen;
    if (round != 0) return chosen;
    const SequenceWords query = ReadWords(SequenceResidues(record.record.text), index_.WordLength());
    const std::uint64_t least = LeastCompared(rule_, query.bases);
    // A hit compares at most the query's bases: a query with fewer than the floor has none.
    if (query.bases < least) return chosen;
    const auto needed = NeededShared(rule_, index_.WordLength(), least, query.brokenWindows);
    index_.CountShared(query, shared_);
    for (std::size_t k = 0; k < index_.References(); ++k)
        if (CanBeHit(needed, least, shared_[k], index_.Bases(k), index_.BrokenWindows(k))) chosen.push_back(k);
    return chosen;
}

}  // namespace kadrel
