#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/ExactFraction.h"
#include "calc/Taxonomy.h"

namespace kadrel {

// The largest p at which a taxon is named at its rank.
struct RankThreshold {
    Rank rank;
    Fraction distance;
};

// When a compared pair counts as evidence for naming its query. Thresholds are inclusive.
struct HitRule {
    // Gap runs inside an alignment that a hit may hold. Generated homologues up to 20 % apart
    // align with one run per true indel and at most one more, so four indel events pass; a
    // foreign stretch forced into an alignment scatters about five runs per 100 bases, so a
    // chimera whose last 15 % is another sequence mostly fails (bench/GAP_RUNS.md).
    static constexpr std::size_t kDefaultMaxGapRuns = 5;

    Fraction maxDistance{1, 10};
    std::size_t minOverlap = 100;       // compared sites
    Fraction minCoverage{8, 10};        // compared sites per base of the query
    std::size_t maxGapRuns = kDefaultMaxGapRuns;
    // From the lowest rank up, the distances never decreasing.
    std::vector<RankThreshold> thresholds = DefaultThresholds();

    static std::vector<RankThreshold> DefaultThresholds();
    // "# max-distance=0.1 min-overlap=100 min-coverage=0.8 max-gap-runs=6
    // thresholds=species=0.02,genus=0.05,family=0.1" and `more` after it, no line end.
    std::string CommentLine(std::string_view more = {}) const;
};

// "species=0.02,genus=0.05,family=0.10": ranks of the ladder, each once, in any order; sorted from
// the lowest rank up. An error message instead when the text is not such a list, or a higher
// rank has a smaller distance than a lower one.
std::optional<std::vector<RankThreshold>> ParseThresholds(std::string_view text, std::string& error);
std::string ThresholdsText(const std::vector<RankThreshold>& thresholds);

// What the rule looks at in one compared pair, in whole numbers: p is differences / compared over
// the sites where both sequences hold A, C, G or T.
struct PairEvidence {
    std::uint64_t differences = 0;
    std::uint64_t compared = 0;
    std::uint64_t queryBases = 0;  // A, C, G, T or U in the query
    std::uint64_t gapRuns = 0;     // internal gap runs of the alignment

    Fraction P() const { return {differences, compared}; }
};

// p <= the rule's largest distance (never for a pair with nothing compared).
bool WithinMaxDistance(const HitRule& rule, const PairEvidence& pair);
// Within the distance, with enough sites compared (the overlap floor, and the share of the query's
// bases), and no more gap runs than the cap.
bool IsHit(const HitRule& rule, const PairEvidence& pair);

}  // namespace kadrel
