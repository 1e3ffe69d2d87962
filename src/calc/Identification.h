#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "calc/ExactFraction.h"
#include "calc/HitRule.h"
#include "calc/Taxonomy.h"

namespace kadrel {

// A reference that passed the hit rule for the query, in reference order.
struct Hit {
    std::size_t reference = 0;  // the reference's position in its set
    Fraction p;
    const Lineage* lineage = nullptr;  // never null
};

enum class Outcome { NotJudged, Correct, Ambiguous, Incorrect, NoId };

// "correct", "ambiguous", "incorrect", "no id"; empty for NotJudged.
std::string OutcomeText(Outcome outcome);

struct Identification {
    std::vector<std::size_t> best;  // positions in the hits: every hit at the smallest p, in order
    // The call: the rank, the taxon named at it, the lineage down to it. No rank: no call.
    std::optional<Rank> rank;
    std::string taxon;
    std::string lineage;
    std::size_t support = 0;  // hits within the called rank's distance
    Outcome outcome = Outcome::NotJudged;
    bool conflictingBest = false;    // the tied best name different taxa at some rank
    bool singleReference = false;    // the call rests on one reference
    // No hit: no reference within the largest distance that also meets the overlap floor and the
    // gap-run cap. Pairs within that distance that miss either do not count, so that the word
    // bound, which leaves out every pair that can be no hit, decides it without aligning them.
    bool noHit = false;
    bool shortQuery = false;         // the query has fewer bases than the overlap floor
    bool unclassifiedBest = false;   // a reference among the best carries no taxonomy

    // The flags that hold, joined by ','.
    std::string FlagsText() const;
};

// What is known of a query beyond its hits.
struct QueryFacts {
    const Lineage* lineage = nullptr;  // never null
    std::uint64_t bases = 0;           // A, C, G, T or U in its record, counted without aligning
};

// The best references, the call and, when the query names its species, the outcome.
// The call is made at the lowest rank with a distance whose value the best p meets and at which
// every hit within that distance names one and the same taxon; a hit that names none at that
// rank cannot be said to agree. Otherwise the next rank with a distance is tried. The outcome
// compares the tied best with the query's species: all, some or none of them are it; "no id"
// when there is no hit within the species distance.
Identification Identify(const HitRule& rule, const QueryFacts& query, const std::vector<Hit>& hits);

}  // namespace kadrel
