#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "calc/HitRule.h"
#include "calc/IdentifyRun.h"
#include "calc/RunComparison.h"
#include "calc/WordIndex.h"

namespace kadrel {

// The pairs `identify` aligns when it goes by the word bound. First round: the references that
// can be a hit of the query, by the bound, in reference order. Second round, only when those
// pairs leave the query unsettled (no pair within the largest distance, or its bases unknown):
// every other reference, so that the flags come out as if all had been aligned. Every reference
// left out is one no alignment could make a hit, so the hits, the call and the tables are those
// of aligning every pair.
class BoundedPairs : public PairChoice {
public:
    BoundedPairs(const WordIndex& index, const HitRule& rule, const IdentificationSink& sink);

    std::vector<std::size_t> Next(std::size_t first, const LoadedRecord& record, std::size_t round) override;

private:
    const WordIndex& index_;
    const HitRule& rule_;
    const IdentificationSink& sink_;
    std::vector<std::uint32_t> shared_;
    std::vector<std::size_t> others_;  // the current query's references the first round left
};

}  // namespace kadrel
