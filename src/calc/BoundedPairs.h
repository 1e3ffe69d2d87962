#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "calc/HitRule.h"
#include "calc/ReferenceGroups.h"
#include "calc/RunComparison.h"
#include "calc/WordIndex.h"

namespace kadrel {

// The pairs `identify` aligns when it goes by the word bound: the references that can be a hit of
// the query, by the bound, in reference order, all in one round. Every reference left out is one
// no alignment could make a hit, and nothing in a query's result looks at pairs that are no hits
// (its bases are counted from its record), so the tables are those of aligning every pair. The
// index holds each distinct sequence once (ReferenceGroups); a group the bound keeps names all
// its members, whose pairs the run's reuse then aligns once.
class BoundedPairs : public PairChoice {
public:
    BoundedPairs(const WordIndex& index, const ReferenceGroups& groups, const HitRule& rule);

    std::vector<std::size_t> Next(std::size_t first, const LoadedRecord& record, std::size_t round) override;
    bool OneRound() const override { return true; }

private:
    const WordIndex& index_;
    const ReferenceGroups& groups_;
    const HitRule& rule_;
    std::vector<std::uint32_t> shared_;
};

}  // namespace kadrel
