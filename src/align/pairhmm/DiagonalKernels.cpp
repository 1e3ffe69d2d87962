#include "align/pairhmm/DiagonalKernels.h"

#include "align/pairhmm/Model.h"

// The loops below are written so that the compiler can run them across SIMD lanes: the same
// operations for every lane, branches turned into selections. Each machine gets the widest
// clone its processor has, chosen when the program starts. Only with GCC: clang 14's resolver
// was seen to pick the AVX-512 clone on a processor without it.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define KADREL_SIMD_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define KADREL_SIMD_CLONES
#endif

namespace kadrel::pairhmm {
namespace {

// LogOnePlusExpMinus of Model.h with its pieces chosen by selection; the chosen piece's
// polynomial is evaluated exactly as there.
inline float Piecewise(float d) {
    const bool p1 = d <= 1.0f, p2 = d <= 2.5f, p3 = d <= 4.5f;
    const float c3 = p1 ? F(0xbc19343d) : p2 ? F(0xbc6e18fa) : p3 ? F(0xbb96e5ce) : F(0xb9f07885);
    const float c2 = p1 ? F(0x3e05cb9c) : p2 ? F(0x3e0f4d0a) : p3 ? F(0x3d81e63c) : F(0x3c1edbbf);
    const float c1 = p1 ? F(0x3eff62b0) : p2 ? F(0x3efdc3f0) : p3 ? F(0x3f322a34) : F(0x3f6e44a1);
    const float c0 = p1 ? F(0x3f3175c2) : p2 ? F(0x3f313020) : p3 ? F(0x3f03a75f) : F(0x3e2c11ef);
    return ((c3 * d + c2) * d + c1) * d + c0;
}

// LogAdd of Model.h: the larger less the smaller, the small side plus the correction.
inline float Add(float x, float y) {
    const bool less = x < y;
    const float big = less ? y : x;
    const float small = less ? x : y;
    const float d = big - small;
    const float sum = Piecewise(d) + small;
    return d >= 7.5f ? big : sum;
}

}  // namespace

KADREL_SIMD_CLONES
void ForwardDiagonal(int n, const float* __restrict diagM, const float* __restrict diagIns,
                     const float* __restrict diagDel, const float* __restrict upM, const float* __restrict upIns,
                     const float* __restrict leftM, const float* __restrict leftDel, const std::uint8_t* __restrict cx,
                     const std::uint8_t* __restrict cy, float* __restrict m, float* __restrict ins,
                     float* __restrict del) {
    const Emissions& em = TheEmissions();
    const float* __restrict pair = em.pair.data();
    const float* __restrict single = em.single.data();
    for (int t = 0; t < n; ++t) {
        float a = diagM[t] + kMM;
        a = Add(a, diagIns[t] + kGapM);
        a = Add(a, diagDel[t] + kGapM);
        m[t] = a + pair[cx[t] * 8 + cy[t]];
        ins[t] = single[cx[t]] + Add(upM[t] + kMGap, upIns[t] + kGapGap);
        del[t] = single[cy[t]] + Add(leftM[t] + kMGap, leftDel[t] + kGapGap);
    }
}

KADREL_SIMD_CLONES
void BackwardDiagonal(int n, const float* __restrict diagM, const float* __restrict downIns,
                      const float* __restrict rightDel, const std::uint8_t* __restrict cx,
                      const std::uint8_t* __restrict cy, float* __restrict m, float* __restrict ins,
                      float* __restrict del, float* __restrict sum) {
    const Emissions& em = TheEmissions();
    const float* __restrict pair = em.pair.data();
    const float* __restrict single = em.single.data();
    for (int t = 0; t < n; ++t) {
        const float p = diagM[t] + pair[cx[t] * 8 + cy[t]];
        const float q = downIns[t] + single[cx[t]];
        const float r = rightDel[t] + single[cy[t]];
        // Each state's sum starts from the sentinel, and sentinel (+) v is v for every v that can
        // occur here (v is the sentinel itself or an ordinary log value), so it starts from its
        // first term instead.
        const float b0 = Add(Add(p + kMM, q + kMGap), r + kMGap);
        m[t] = b0;
        ins[t] = Add(p + kGapM, q + kGapGap);
        del[t] = Add(p + kGapM, r + kGapGap);
        sum[t] = sum[t] + b0;
    }
}

KADREL_SIMD_CLONES
int NextCandidate(const float* __restrict sum, int first, int n, float total) {
    constexpr int kChunk = 32;
    int at = first;
    // Whole chunks at a time: a chunk is passed over when none of its cells is a candidate.
    while (at + kChunk <= n) {
        int any = 0;
        for (int t = 0; t < kChunk; ++t) any |= (sum[at + t] - total) > -16.0f;
        if (any) break;
        at += kChunk;
    }
    for (; at < n; ++at)
        if ((sum[at] - total) > -16.0f) return at;
    return n;
}

}  // namespace kadrel::pairhmm
