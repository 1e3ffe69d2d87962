#include "calc/BoundedPairs.h"

#include <algorithm>

#include "align/AlignerInput.h"
#include "calc/LoadedRecord.h"

namespace kadrel {

BoundedPairs::BoundedPairs(const WordIndex& index, const ReferenceGroups& groups, const HitRule& rule)
    : index_(index), groups_(groups), rule_(rule) {}

std::vector<std::size_t> BoundedPairs::Next(std::size_t, const LoadedRecord& record, std::size_t round) {
    std::vector<std::size_t> chosen;
    if (round != 0) return chosen;
    const SequenceWords query = ReadWords(SequenceResidues(record.record.text), index_.WordLength());
    const std::uint64_t least = LeastCompared(rule_, query.bases);
    // A hit compares at most the query's bases: a query with fewer than the floor has none.
    if (query.bases < least) return chosen;
    const auto needed = NeededShared(rule_, index_.WordLength(), least, query.brokenWindows);
    index_.CountShared(query, shared_);
    for (std::size_t g = 0; g < index_.References(); ++g)
        if (CanBeHit(needed, least, shared_[g], index_.Bases(g), index_.BrokenWindows(g)))
            for (const std::uint32_t k : groups_.Members(g)) chosen.push_back(k);
    if (groups_.Groups() != groups_.References()) std::sort(chosen.begin(), chosen.end());
    return chosen;
}

}  // namespace kadrel
