#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "calc/ExactFraction.h"
#include "calc/HitRule.h"

namespace kadrel {

// The q-letter words of one sequence that `identify` counts before aligning: every window of q
// residues that all read A, C, G or T (either case, U as T), 2 bits a base, first base highest.
struct SequenceWords {
    std::vector<std::uint32_t> words;  // in sequence order, repeats kept
    std::uint64_t bases = 0;           // A, C, G, T or U anywhere in the residues
    // Windows of q residues that hold anything else (N, an ambiguity code): no alignment can
    // make such a window a shared word, so they weigh against the sequence in the bound.
    std::uint64_t brokenWindows = 0;
};

constexpr unsigned kLongestWord = 12;  // 2 bits a base in 24 bits; a direct table of 4^12 entries

// `residues` as the aligner reads them (SequenceResidues).
SequenceWords ReadWords(std::string_view residues, unsigned q);

// The A, C, G, T and U (either case) among `residues`: a sequence's bases, as hits count them.
std::uint64_t CountBases(std::string_view residues);

// The word length for a hit's largest p: 1 / (2T) rounded down, kept within 7..12. Small words
// keep 1 - qT large, long ones keep chance matches rare; the bound needs qT < 1, which fails
// beyond T = 1/7, and then nothing is left out.
unsigned WordLength(const Fraction& maxDistance);

// The fewest compared sites a hit of a query with `queryBases` bases can have: the overlap
// floor, the coverage share of those bases, and at least one.
std::uint64_t LeastCompared(const HitRule& rule, std::uint64_t queryBases);

// What a pair must reach to be a hit, as words shared (counted as multisets) plus the reference's
// broken windows: ceil(Cmin (1 - qT)) - (B + 1)(q - 1) - the query's broken windows. No value
// when qT >= 1, where words prove nothing. docs/identify.md gives the proof.
std::optional<std::int64_t> NeededShared(const HitRule& rule, unsigned q, std::uint64_t leastCompared,
                                         std::uint64_t queryBrokenWindows);

// Whether a reference can be a hit: it holds as many bases as a hit compares, and its shared
// words reach the bound.
bool CanBeHit(std::optional<std::int64_t> needed, std::uint64_t leastCompared, std::uint64_t shared,
              std::uint64_t referenceBases, std::uint64_t referenceBrokenWindows);

}  // namespace kadrel
