#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace kadrel {

// The instruction sets the sweep is built for, chosen at run time, since the same program runs on
// machines with and without AVX-512. WidestSimdPath is the widest the processor has, and
// FastestSimdPath the one the aligner takes: AVX2 where there is AVX-512 too, which swept
// slower in the benchmark. A Sweep asked for a path the processor lacks takes the widest it has.
enum class SimdPath { Plain, Avx2, Avx512 };
SimdPath WidestSimdPath();
SimdPath FastestSimdPath();
const char* SimdPathName(SimdPath path);

// The diagonals j - i a banded alignment may use, both ends included (i counts residues of the
// first sequence, j of the second). A band always holds diagonal 0, where every alignment starts,
// and diagonal m - n, where it ends.
struct Band {
    int low;
    int high;
};

// What no alignment inside the band can score: every real score (0 a match, -3 a mismatch,
// -(5 + 2 n) a gap of n sites) stays well above it while SweepFits holds.
constexpr std::int16_t kOutside = -12000;

// Whether scores of this pair fit the sweep's 16-bit lanes with room for kOutside.
bool SweepFits(std::size_t firstLength, std::size_t secondLength);

// Cells of one anti-diagonal i + j the sweep holds: a multiple of 16.
int SweepLanes(Band band);

// The bytes a sweep's trace takes: (n + m + 1) x SweepLanes(band) choices, and room for the
// widest register to run past the last.
std::size_t SweepTraceSize(Band band, std::size_t firstLength, std::size_t secondLength);

// Per cell of the band, how its best score was reached, the way parasail's traceback reads it:
// from a column of both residues unless one of the first two bits says from a column of one
// sequence's residue alone, and whether a run of such columns ending here starts here.
constexpr std::uint8_t kFromFirstOnly = 1;
constexpr std::uint8_t kFromSecondOnly = 2;
constexpr std::uint8_t kFirstOnlyOpens = 4;
constexpr std::uint8_t kSecondOnlyOpens = 8;

struct SweepScratch {
    std::vector<std::int16_t> first, second;
    std::vector<std::int16_t> rows, laneNumbers;
};

// The best score of a global alignment of `first` and `second` (scoring texts: equal characters
// match) among those inside `band`, by anti-diagonals. `lowEdge` and `highEdge` (n + 1 each) get,
// for each row i, the best score inside the band from (0, 0) to the cell of row i on the band's
// lowest and highest diagonal, kOutside where there is none. `trace` holds SweepTraceSize bytes
// and gets the choices of the band's cells in the matrix, read by TraceChoice.
int Sweep(SimdPath path, std::string_view first, std::string_view second, Band band, std::uint8_t* trace,
          std::int16_t* lowEdge, std::int16_t* highEdge, SweepScratch& scratch);

// The choices the sweep recorded for cell (i, j) of the band.
inline std::uint8_t TraceChoice(const std::uint8_t* trace, Band band, int lanes, int i, int j) {
    const int t = i + j;
    const int base = ((t - band.low) & 1) != 0 ? band.low - 1 : band.low;
    return trace[static_cast<std::size_t>(t) * static_cast<std::size_t>(lanes) +
                 static_cast<std::size_t>((j - i - base) / 2)];
}

}  // namespace kadrel
