#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "align/builtin/BandedSweep.h"

namespace kadrel {

// What an alignment's columns (see GapPlacement.h) cost under the built-in scoring: 3 per
// mismatch, 5 + 2 per site for each run of one sequence's residues against gaps. Equal
// characters of the two scoring texts match.
long ColumnsCost(const std::string& columns, const std::string& first, const std::string& second);

// An optimal global alignment by a banded dynamic programme, checked to be optimal: the band is
// placed over the diagonals that words shared near the two ends point to, as wide as the words'
// estimate of the cost asks, and checked: no alignment leaving it may score as well as the best
// one inside it. If that fails, a wider band is swept, at last one wide enough that the gaps
// alone of any path leaving it cost more than the first band's best. Then every optimal alignment lies inside the band and the choice among them is
// the full-matrix programme's (parasail). Pairs for which that band would be too wide to pay are
// left to the full matrix.
class BandedProgramme {
public:
    struct Outcome {
        std::string columns;  // empty: the band grew too wide to pay, the pair is too long, or close
        Band band{0, 0};
        int widenings = 0;
        bool close = false;  // left unswept: its words put it less than `leaveBelow` apart
    };

    // A pair whose shared words put it less than `leaveBelow` apart is left to the caller, for
    // which another programme may be faster.
    Outcome Align(const std::string& first, const std::string& second, SimdPath path = FastestSimdPath(),
                  double leaveBelow = 0);

private:
    // The band to sweep first, and the divergence the pair's shared words estimate.
    struct Start {
        Band band;
        double divergence;
    };
    Start FirstBand(const std::string& first, const std::string& second);
    // The best scores a path leaving the band below and above it could reach at most (kOutside
    // where the band reaches the matrix's edge).
    struct Outside {
        int low = kOutside;
        int high = kOutside;
    };
    Outside BestOutside(Band band, int n, int m) const;
    Band Widened(Band band, Outside outside, int score, int n, int m) const;
    std::string Traceback(Band band, int n, int m) const;
    int Discount() const;

    SweepScratch scratch_;
    std::vector<std::uint8_t> trace_;
    std::vector<std::int16_t> lowEdge_, highEdge_;
    std::vector<std::uint8_t> tileFound_;
    std::vector<int> unfoundFrom_;  // tiles missing from the second among residues i, i + 1, ...
    struct Seen {
        std::uint32_t pair = 0;  // the pair this word was last seen in (in its second sequence)
        std::int32_t first = 0, last = 0;
    };
    std::vector<Seen> seen_;
    std::uint32_t pairCount_ = 0;
};

}  // namespace kadrel
