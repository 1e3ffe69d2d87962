#pragma once
#include "align/AlignedPair.h"

namespace kadrel {

// What the published model forms count, apart from the classic classification: only sites where
// both sequences hold a definite base (A, C, G or T in either case) are compared, ambiguity codes
// carry no weight, and the base composition is taken over every definite base of both sequences,
// gapped sites included.
struct DefiniteSites {
    double pairs[4][4] = {};  // [base of first][base of second], indexed as in PairCounts
    double bases[4] = {};     // both sequences, all sites

    double Compared() const;
    double Differences() const;
    double Transitions(int base1, int base2) const { return pairs[base1][base2] + pairs[base2][base1]; }
    double Transversions() const;
    double BaseShare(int base) const;  // NaN when neither sequence holds a definite base
};

DefiniteSites CountDefiniteSites(const AlignedPair& pair);

}  // namespace kadrel
