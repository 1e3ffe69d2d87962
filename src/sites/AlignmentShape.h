#pragma once
#include <cstddef>

#include "align/AlignedPair.h"

namespace kadrel {

// Where and how the two sequences of a pair meet, for hit rules and BLAST-style tables. The
// aligned region runs from the first to the last column where both sequences hold a residue (any
// character but the gap); the end gaps of a global alignment lie outside it. All counts are whole.
struct AlignmentShape {
    std::size_t columns = 0;      // of the aligned region
    std::size_t identical = 0;    // region columns of one residue in both (case, U for T mended)
    std::size_t mismatches = 0;   // region columns of two different residues
    // Runs of consecutive gaps in either sequence inside the region (BLAST's gap openings: a gap
    // in one sequence right after one in the other opens a second).
    std::size_t gapOpenings = 0;
    // Runs of consecutive gap columns with residues of both sequences on both sides.
    std::size_t internalGapRuns = 0;
    // 1-based residue positions of the region's ends in each sequence; 0 when there is no region.
    std::size_t firstStart = 0, firstEnd = 0, secondStart = 0, secondEnd = 0;
    std::size_t firstBases = 0;   // A, C, G, T or U (either case) in the whole first sequence
};

AlignmentShape MeasureAlignment(const AlignedPair& pair);

}  // namespace kadrel
