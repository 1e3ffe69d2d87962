#include "align/builtin/BandedSweep.h"

#include <immintrin.h>

#include <algorithm>
#include <numeric>
#include <cstring>

namespace kadrel {
namespace {

// Lanes of 16 bits: one register of 32 with AVX-512, 16 with AVX2, 8 with SSE2; one body serves
// them all. A band holds a multiple of 16 lanes, so AVX-512 may run 16 lanes past its end: rows,
// lane numbers and the trace keep room for a register more.
constexpr int kWidth = 32;
constexpr int kLaneStep = 16;
// (An alias template would drop the vector attribute.)
using Vector8 = std::int16_t __attribute__((vector_size(16)));
using Vector16 = std::int16_t __attribute__((vector_size(32)));
using Vector32 = std::int16_t __attribute__((vector_size(64)));
// The trace keeps a byte a cell, its four bits of choice: half the memory traffic of 16 bits.

constexpr int kMismatch = 3;
constexpr int kOpen = 7;  // the first site of a gap: 5 + 2
constexpr int kExtend = 2;

struct Args {
    std::string_view first, second;
    Band band;
    std::uint8_t* trace;
    std::int16_t* lowEdge;
    std::int16_t* highEdge;
    SweepScratch* scratch;
};

// Lanes whose number lies outside (below, above) become kOutside. Written with > and and/or
// only, as the choices below are: GCC 12 takes a vector ?:, >= or <= of 64-byte vectors apart
// into scalars. (By reference: a vector passed by value would change the ABI outside the kernels.)
template <class Scores>
[[gnu::always_inline]] inline void KeepInside(Scores& scores, const Scores& lane, const Scores& below, const Scores& above) {
    const Scores inside = (lane > below) & (above > lane);
    scores = (inside & scores) | (~inside & kOutside);
}

// With AVX-512BW the comparisons give mask registers and one masked move does the rest; GCC 12
// takes the form above apart into scalars for 64-byte vectors.
[[gnu::target("avx512bw")]] inline void KeepInside(Vector32& scores, const Vector32& lane, const Vector32& below,
                                                   const Vector32& above) {
    const __m512i lanes = reinterpret_cast<__m512i>(lane);
    const __mmask32 inside = _mm512_cmpgt_epi16_mask(lanes, reinterpret_cast<__m512i>(below)) &
                             _mm512_cmpgt_epi16_mask(reinterpret_cast<__m512i>(above), lanes);
    scores = reinterpret_cast<Vector32>(
        _mm512_mask_mov_epi16(_mm512_set1_epi16(kOutside), inside, reinterpret_cast<__m512i>(scores)));
}

// Stores a choice per lane, 0 to 15, as a byte each: for these the saturating pack is exact and
// cheaper than the general conversion's masking.
inline void StoreChoices(std::uint8_t* to, const Vector8& choice) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(to),
                     _mm_packus_epi16(reinterpret_cast<__m128i>(choice), reinterpret_cast<__m128i>(choice)));
}

[[gnu::target("avx2")]] inline void StoreChoices(std::uint8_t* to, const Vector16& choice) {
    const __m256i packed = _mm256_packus_epi16(reinterpret_cast<__m256i>(choice), reinterpret_cast<__m256i>(choice));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0xd8)));
}

[[gnu::target("avx512bw")]] inline void StoreChoices(std::uint8_t* to, const Vector32& choice) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to),
                        _mm512_maskz_cvtepi16_epi8(~__mmask32{0}, reinterpret_cast<__m512i>(choice)));
}

// Lane q of anti-diagonal t holds the cell on diagonal Base(t) + 2q: its diagonals share the
// parity of t, so each lane's three predecessors sit at fixed lanes of the two anti-diagonals
// before it, and the residues it compares lie contiguously in the reversed first sequence and in
// the second one.
template <class Scores>
[[gnu::always_inline]] inline int SweepBody(const Args& a) {
    constexpr int Lanes = sizeof(Scores) / sizeof(std::int16_t);
    static_assert(kWidth % Lanes == 0 && (Lanes <= kLaneStep || Lanes == kWidth));
    const int n = static_cast<int>(a.first.size());
    const int m = static_cast<int>(a.second.size());
    const int low = a.band.low, high = a.band.high;
    const int lanes = SweepLanes(a.band);
    // Reads reach below lane 0 and past the band by at most the band's width and one vector.
    const int pad = (high - low) + 2 * kWidth + 8;
    SweepScratch& s = *a.scratch;
    s.first.assign(static_cast<std::size_t>(n + 2 * pad), 1);
    s.second.assign(static_cast<std::size_t>(m + 2 * pad), 2);
    std::reverse_copy(a.first.begin(), a.first.end(), s.first.begin() + pad);
    std::copy(a.second.begin(), a.second.end(), s.second.begin() + pad);
    const int stride = lanes + 2 * kWidth;
    s.rows.assign(static_cast<std::size_t>(7 * stride), kOutside);
    // Each lane's number, read from memory: built in registers, the compiler takes it apart.
    s.laneNumbers.resize(static_cast<std::size_t>(lanes + kWidth));
    std::iota(s.laneNumbers.begin(), s.laneNumbers.end(), std::int16_t{0});
    const std::int16_t* const laneNumbers = s.laneNumbers.data();
    std::int16_t* row[7];
    for (int r = 0; r < 7; ++r) row[r] = s.rows.data() + r * stride + kWidth;
    std::int16_t *hBefore = row[0], *hLast = row[1], *h = row[2];
    std::int16_t *eLast = row[3], *e = row[4], *fLast = row[5], *f = row[6];
    std::fill(a.lowEdge, a.lowEdge + n + 1, kOutside);
    std::fill(a.highEdge, a.highEdge + n + 1, kOutside);

    int score = kOutside;
    for (int t = 0; t <= n + m; ++t) {
        const bool onLow = ((t - low) & 1) == 0;
        const int base = onLow ? low : low - 1;
        const int shift = onLow ? 0 : -1;  // lane of (i, j - 1) on the anti-diagonal before
        // Lanes of cells with 1 <= i <= n and 1 <= j <= m inside the band.
        const int kMin = std::max({low, t - 2 * n, 2 - t}), kMax = std::min({high, t - 2, 2 * m - t});
        const int qMin = (kMin - base + 1) >> 1, qMax = (kMax - base) >> 1;
        const std::int16_t* firstAt = s.first.data() + pad + n - (t - base) / 2;
        const std::int16_t* secondAt = s.second.data() + pad + (t + base) / 2 - 1;
        // Lanes of cells outside the matrix or the band score nothing. The registers swept hold
        // those lanes and one more on either side, all the next two anti-diagonals read (each
        // reads the lane before and after its own one); the lanes past them keep what they held.
        const Scores qFrom = Scores{} + static_cast<std::int16_t>(qMin - 1), qTo = Scores{} + static_cast<std::int16_t>(qMax + 1);
        const int qStart = qMin > qMax ? 0 : std::max(qMin - 1, 0) / Lanes * Lanes;
        const int qEnd = qMin > qMax ? lanes : std::min(qMax + 2, lanes);
        std::uint8_t* const traceRow = a.trace + static_cast<std::size_t>(t) * static_cast<std::size_t>(lanes);
        for (int q0 = qStart; q0 < qEnd; q0 += Lanes) {
            Scores diagonal, left, leftGap, up, upGap;
            std::memcpy(&diagonal, hBefore + q0, sizeof(Scores));
            std::memcpy(&left, hLast + q0 + shift, sizeof(Scores));
            std::memcpy(&leftGap, eLast + q0 + shift, sizeof(Scores));
            std::memcpy(&up, hLast + q0 + shift + 1, sizeof(Scores));
            std::memcpy(&upGap, fLast + q0 + shift + 1, sizeof(Scores));
            Scores x, y;
            std::memcpy(&x, firstAt + q0, sizeof(Scores));
            std::memcpy(&y, secondAt + q0, sizeof(Scores));
            diagonal += ~(x == y) & -kMismatch;
            const Scores eOpen = left - kOpen, eExtend = leftGap - kExtend;
            const Scores fOpen = up - kOpen, fExtend = upGap - kExtend;
            const Scores opensE = eOpen > eExtend, opensF = fOpen > fExtend;
            Scores eBest = eOpen > eExtend ? eOpen : eExtend;
            Scores fBest = fOpen > fExtend ? fOpen : fExtend;
            Scores best = diagonal > eBest ? diagonal : eBest;
            best = best > fBest ? best : fBest;
            // parasail's order: the diagonal, then the gap in the second sequence, then the one in
            // the first; a gap extends rather than opens on a tie. (fromF is -1 or 0: 2 + fromF
            // is kFromFirstOnly or kFromSecondOnly.)
            static_assert(kFromFirstOnly == 1 && kFromSecondOnly == 2);
            const Scores fromDiagonal = best == diagonal, fromF = best == fBest;
            const Scores choice = (~fromDiagonal & (fromF + 2)) | (opensF & kFirstOnlyOpens) | (opensE & kSecondOnlyOpens);
            StoreChoices(traceRow + q0, choice);
            // Only the registers at the two ends hold lanes outside.
            if (q0 < qMin || q0 + Lanes - 1 > qMax) {
                Scores lane;
                std::memcpy(&lane, laneNumbers + q0, sizeof(Scores));
                KeepInside(best, lane, qFrom, qTo);
                KeepInside(eBest, lane, qFrom, qTo);
                KeepInside(fBest, lane, qFrom, qTo);
            }
            std::memcpy(h + q0, &best, sizeof(Scores));
            std::memcpy(e + q0, &eBest, sizeof(Scores));
            std::memcpy(f + q0, &fBest, sizeof(Scores));
        }
        // The first row and column: a gap from (0, 0).
        const auto edgeScore = [](int sites) { return static_cast<std::int16_t>(sites == 0 ? 0 : -(5 + 2 * sites)); };
        if (t <= m && t >= low && t <= high) h[(t - base) / 2] = edgeScore(t);
        if (t > 0 && t <= n && -t >= low && -t <= high) h[(-t - base) / 2] = edgeScore(t);
        if (onLow) {
            const int i = (t - low) / 2;
            if (i >= 0 && i <= n && i + low >= 0 && i + low <= m) a.lowEdge[i] = h[0];
        }
        if (((high - base) & 1) == 0) {
            const int i = (t - high) / 2;
            if (i >= 0 && i <= n && i + high >= 0 && i + high <= m) a.highEdge[i] = h[(high - base) / 2];
        }
        if (t == n + m) score = h[(m - n - base) / 2];
        std::int16_t* const oldest = hBefore;
        hBefore = hLast;
        hLast = h;
        h = oldest;
        std::swap(e, eLast);
        std::swap(f, fLast);
    }
    return score;
}

[[gnu::target("avx512bw")]] int SweepAvx512(const Args& a) { return SweepBody<Vector32>(a); }
[[gnu::target("avx2")]] int SweepAvx2(const Args& a) { return SweepBody<Vector16>(a); }
int SweepPlain(const Args& a) { return SweepBody<Vector8>(a); }

}  // namespace

SimdPath WidestSimdPath() {
    static const SimdPath widest = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512bw")) return SimdPath::Avx512;
        if (__builtin_cpu_supports("avx2")) return SimdPath::Avx2;
        return SimdPath::Plain;
    }();
    return widest;
}

// Measured on an AVX-512 AMD EPYC (bench/BANDED_RESULTS.md): the AVX-512 kernel swept 10,000
// pairs at about 10,000 a second, the AVX2 one at 16,000-18,000, so the AVX2 kernel serves there.
SimdPath FastestSimdPath() { return std::min(WidestSimdPath(), SimdPath::Avx2); }

const char* SimdPathName(SimdPath path) {
    return path == SimdPath::Avx512 ? "AVX-512" : path == SimdPath::Avx2 ? "AVX2" : "SSE2";
}

bool SweepFits(std::size_t firstLength, std::size_t secondLength) {
    // The cheapest alignment's score and every cell's stay above -(3 min + 2 max + 5); gaps from
    // outside the band fall below kOutside by a few sites at most.
    const std::size_t shorter = std::min(firstLength, secondLength), longer = std::max(firstLength, secondLength);
    return 3 * shorter + 2 * longer + 64 < static_cast<std::size_t>(-kOutside);
}

int SweepLanes(Band band) {
    const int needed = (band.high - band.low + 1) / 2 + 1;
    return (needed + kLaneStep - 1) / kLaneStep * kLaneStep;
}

std::size_t SweepTraceSize(Band band, std::size_t firstLength, std::size_t secondLength) {
    return (firstLength + secondLength + 1) * static_cast<std::size_t>(SweepLanes(band)) + kWidth;
}

int Sweep(SimdPath path, std::string_view first, std::string_view second, Band band, std::uint8_t* trace,
          std::int16_t* lowEdge, std::int16_t* highEdge, SweepScratch& scratch) {
    const Args args{first, second, band, trace, lowEdge, highEdge, &scratch};
    path = std::min(path, WidestSimdPath());
    return path == SimdPath::Avx512 ? SweepAvx512(args) : path == SimdPath::Avx2 ? SweepAvx2(args) : SweepPlain(args);
}

}  // namespace kadrel
