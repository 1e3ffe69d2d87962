#include "align/pairhmm/DiagonalKernels.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#include <cstdint>

#include "align/pairhmm/Model.h"

// The anti-diagonal kernels written out for AVX2, 8 or 16 cells at a time, for processors without
// AVX-512. Each lane does what the portable loops of DiagonalKernels.cpp do for one cell,
// operation for operation (separate multiplies and adds, no fused ones). The correction's piece
// and the single emissions come from one permutation of an 8-entry register each; the pair
// emissions, 64 of them, from a gather.
#define KADREL_AVX2 __attribute__((target("avx2")))

namespace kadrel::pairhmm {
namespace {

struct Tables {
    __m256 c3, c2, c1, c0;  // the correction's pieces, by piece number
    __m256 single;
    const float* pair;
};

// Each piece's coefficient sits at the piece's place in both halves of a register, the places
// being the low two bits of minus the piece: 0, 3, 2, 1 for pieces 0 to 3.
KADREL_AVX2 __m256 Coefficients(float p0, float p1, float p2, float p3) {
    return _mm256_setr_ps(p0, p3, p2, p1, p0, p3, p2, p1);
}

KADREL_AVX2 Tables MakeTables() {
    const Emissions& em = TheEmissions();
    return {Coefficients(F(0xbc19343d), F(0xbc6e18fa), F(0xbb96e5ce), F(0xb9f07885)),
            Coefficients(F(0x3e05cb9c), F(0x3e0f4d0a), F(0x3d81e63c), F(0x3c1edbbf)),
            Coefficients(F(0x3eff62b0), F(0x3efdc3f0), F(0x3f322a34), F(0x3f6e44a1)),
            Coefficients(F(0x3f3175c2), F(0x3f313020), F(0x3f03a75f), F(0x3e2c11ef)),
            _mm256_loadu_ps(em.single.data()), em.pair.data()};
}

// N independent additions side by side, step for step, so that the processor overlaps their
// latencies. The larger is max(x, y) and the smaller min(x, y), as the portable selections have
// them: on a tie min gives y, as they do, and the larger is only used when the two differ.
template <int N>
struct Many {
    __m256 v[N];
};

template <int N>
KADREL_AVX2 inline Many<N> Add(const Tables& k, const Many<N>& x, const Many<N>& y) {
    Many<N> big, small, d, v;
    __m256i piece[N];
    for (int u = 0; u < N; ++u) big.v[u] = _mm256_max_ps(x.v[u], y.v[u]);
    for (int u = 0; u < N; ++u) small.v[u] = _mm256_min_ps(x.v[u], y.v[u]);
    for (int u = 0; u < N; ++u) d.v[u] = _mm256_sub_ps(big.v[u], small.v[u]);
    // Minus the piece: a true comparison is -1 in every bit, and d lies above as many bounds as
    // its piece number.
    for (int u = 0; u < N; ++u) {
        piece[u] = _mm256_castps_si256(_mm256_cmp_ps(d.v[u], _mm256_set1_ps(1.0f), _CMP_GT_OQ));
        piece[u] = _mm256_add_epi32(piece[u], _mm256_castps_si256(_mm256_cmp_ps(d.v[u], _mm256_set1_ps(2.5f), _CMP_GT_OQ)));
        piece[u] = _mm256_add_epi32(piece[u], _mm256_castps_si256(_mm256_cmp_ps(d.v[u], _mm256_set1_ps(4.5f), _CMP_GT_OQ)));
    }
    for (int u = 0; u < N; ++u) v.v[u] = _mm256_mul_ps(_mm256_permutevar_ps(k.c3, piece[u]), d.v[u]);
    for (int u = 0; u < N; ++u) v.v[u] = _mm256_mul_ps(_mm256_add_ps(v.v[u], _mm256_permutevar_ps(k.c2, piece[u])), d.v[u]);
    for (int u = 0; u < N; ++u) v.v[u] = _mm256_mul_ps(_mm256_add_ps(v.v[u], _mm256_permutevar_ps(k.c1, piece[u])), d.v[u]);
    for (int u = 0; u < N; ++u) v.v[u] = _mm256_add_ps(v.v[u], _mm256_permutevar_ps(k.c0, piece[u]));
    for (int u = 0; u < N; ++u)
        v.v[u] = _mm256_blendv_ps(_mm256_add_ps(v.v[u], small.v[u]), big.v[u],
                                  _mm256_cmp_ps(d.v[u], _mm256_set1_ps(7.5f), _CMP_GE_OQ));
    return v;
}

// Where a diagonal ends inside the register, the lanes beyond it read zeros and are not stored.
struct Lanes {
    int count;  // 8, or fewer at a diagonal's end
    __m256i mask;
};

KADREL_AVX2 inline Lanes LanesLeft(int left) {
    const __m256i place = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    return {left, _mm256_cmpgt_epi32(_mm256_set1_epi32(left), place)};
}

KADREL_AVX2 inline __m256 Load(const float* at, const Lanes& lanes) {
    return lanes.count == 8 ? _mm256_loadu_ps(at) : _mm256_maskload_ps(at, lanes.mask);
}

KADREL_AVX2 inline void Store(float* at, const Lanes& lanes, __m256 v) {
    if (lanes.count == 8)
        _mm256_storeu_ps(at, v);
    else
        _mm256_maskstore_ps(at, lanes.mask, v);
}

KADREL_AVX2 inline __m256i Classes(const std::uint8_t* at, const Lanes& lanes) {
    std::uint64_t bytes = 0;
    if (lanes.count == 8)
        __builtin_memcpy(&bytes, at, 8);
    else
        __builtin_memcpy(&bytes, at, static_cast<unsigned>(lanes.count));
    return _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(bytes)));
}

KADREL_AVX2 inline __m256 PairEmission(const Tables& k, __m256i cx, __m256i cy) {
    return _mm256_i32gather_ps(k.pair, _mm256_add_epi32(_mm256_slli_epi32(cx, 3), cy), 4);
}

// One diagonal's pointers, as the kernels of DiagonalKernels.h take them.
struct ForwardCells {
    const float *diagM, *diagIns, *diagDel, *upM, *upIns, *leftM, *leftDel;
    const std::uint8_t *cx, *cy;
    float *m, *ins, *del;
};
struct BackwardCells {
    const float *diagM, *downIns, *rightDel;
    const std::uint8_t *cx, *cy;
    float *m, *ins, *del, *sum;
};

// B registers of cells from t on: the match state's first addition beside the two gap states',
// then its second.
template <int B>
KADREL_AVX2 inline void Forward(const Tables& k, const ForwardCells& c, int t, const Lanes& lanes) {
    const __m256 mm = _mm256_set1_ps(kMM), gapM = _mm256_set1_ps(kGapM), mGap = _mm256_set1_ps(kMGap),
                 gapGap = _mm256_set1_ps(kGapGap);
    __m256i x[B], y[B];
    Many<3 * B> a, b;
    Many<B> second;
    for (int u = 0; u < B; ++u) {
        const int o = t + 8 * u;
        x[u] = Classes(c.cx + o, lanes);
        y[u] = Classes(c.cy + o, lanes);
        a.v[3 * u] = _mm256_add_ps(Load(c.diagM + o, lanes), mm);
        a.v[3 * u + 1] = _mm256_add_ps(Load(c.upM + o, lanes), mGap);
        a.v[3 * u + 2] = _mm256_add_ps(Load(c.leftM + o, lanes), mGap);
        b.v[3 * u] = _mm256_add_ps(Load(c.diagIns + o, lanes), gapM);
        b.v[3 * u + 1] = _mm256_add_ps(Load(c.upIns + o, lanes), gapGap);
        b.v[3 * u + 2] = _mm256_add_ps(Load(c.leftDel + o, lanes), gapGap);
        second.v[u] = _mm256_add_ps(Load(c.diagDel + o, lanes), gapM);
    }
    const Many<3 * B> first = Add<3 * B>(k, a, b);
    Many<B> match;
    for (int u = 0; u < B; ++u) {
        const int o = t + 8 * u;
        Store(c.ins + o, lanes, _mm256_add_ps(_mm256_permutevar8x32_ps(k.single, x[u]), first.v[3 * u + 1]));
        Store(c.del + o, lanes, _mm256_add_ps(_mm256_permutevar8x32_ps(k.single, y[u]), first.v[3 * u + 2]));
        match.v[u] = first.v[3 * u];
    }
    match = Add<B>(k, match, second);
    for (int u = 0; u < B; ++u)
        Store(c.m + t + 8 * u, lanes, _mm256_add_ps(match.v[u], PairEmission(k, x[u], y[u])));
}

// The same backward: the match state's first addition and the gap states', then its second.
template <int B>
KADREL_AVX2 inline void Backward(const Tables& k, const BackwardCells& c, int t, const Lanes& lanes) {
    const __m256 mm = _mm256_set1_ps(kMM), gapM = _mm256_set1_ps(kGapM), mGap = _mm256_set1_ps(kMGap),
                 gapGap = _mm256_set1_ps(kGapGap);
    Many<3 * B> a, b;
    Many<B> second;
    for (int u = 0; u < B; ++u) {
        const int o = t + 8 * u;
        const __m256i x = Classes(c.cx + o, lanes), y = Classes(c.cy + o, lanes);
        const __m256 p = _mm256_add_ps(Load(c.diagM + o, lanes), PairEmission(k, x, y));
        const __m256 q = _mm256_add_ps(Load(c.downIns + o, lanes), _mm256_permutevar8x32_ps(k.single, x));
        const __m256 r = _mm256_add_ps(Load(c.rightDel + o, lanes), _mm256_permutevar8x32_ps(k.single, y));
        a.v[3 * u] = _mm256_add_ps(p, mm);
        a.v[3 * u + 1] = _mm256_add_ps(p, gapM);
        a.v[3 * u + 2] = _mm256_add_ps(p, gapM);
        b.v[3 * u] = _mm256_add_ps(q, mGap);
        b.v[3 * u + 1] = _mm256_add_ps(q, gapGap);
        b.v[3 * u + 2] = _mm256_add_ps(r, gapGap);
        second.v[u] = _mm256_add_ps(r, mGap);
    }
    const Many<3 * B> first = Add<3 * B>(k, a, b);
    Many<B> match;
    for (int u = 0; u < B; ++u) match.v[u] = first.v[3 * u];
    match = Add<B>(k, match, second);
    for (int u = 0; u < B; ++u) {
        const int o = t + 8 * u;
        Store(c.m + o, lanes, match.v[u]);
        Store(c.ins + o, lanes, first.v[3 * u + 1]);
        Store(c.del + o, lanes, first.v[3 * u + 2]);
        Store(c.sum + o, lanes, _mm256_add_ps(Load(c.sum + o, lanes), match.v[u]));
    }
}

}  // namespace

KADREL_AVX2 void ForwardDiagonal256(int n, const float* diagM, const float* diagIns, const float* diagDel,
                                    const float* upM, const float* upIns, const float* leftM, const float* leftDel,
                                    const std::uint8_t* cx, const std::uint8_t* cy, float* m, float* ins,
                                    float* del) {
    static const Tables k = MakeTables();
    const ForwardCells c{diagM, diagIns, diagDel, upM, upIns, leftM, leftDel, cx, cy, m, ins, del};
    const Lanes all = LanesLeft(8);
    int t = 0;
    for (; t + 16 <= n; t += 16) Forward<2>(k, c, t, all);
    for (; t < n; t += 8) Forward<1>(k, c, t, LanesLeft(n - t < 8 ? n - t : 8));
}

KADREL_AVX2 void BackwardDiagonal256(int n, const float* diagM, const float* downIns, const float* rightDel,
                                     const std::uint8_t* cx, const std::uint8_t* cy, float* m, float* ins, float* del,
                                     float* sum) {
    static const Tables k = MakeTables();
    const BackwardCells c{diagM, downIns, rightDel, cx, cy, m, ins, del, sum};
    const Lanes all = LanesLeft(8);
    int t = 0;
    for (; t + 16 <= n; t += 16) {
        Backward<2>(k, c, t, all);
        // The sums of the diagonal two before this one, which lies just below it in memory.
        const auto below = reinterpret_cast<std::uintptr_t>(sum + t) - 8u * static_cast<unsigned>(n);
        _mm_prefetch(reinterpret_cast<const char*>(below), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(below + 32), _MM_HINT_T0);
    }
    for (; t < n; t += 8) Backward<1>(k, c, t, LanesLeft(n - t < 8 ? n - t : 8));
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

}  // namespace kadrel::pairhmm

#else

namespace kadrel::pairhmm {
bool HasAvx2() { return false; }
void ForwardDiagonal256(int, const float*, const float*, const float*, const float*, const float*, const float*,
                        const float*, const std::uint8_t*, const std::uint8_t*, float*, float*, float*) {}
void BackwardDiagonal256(int, const float*, const float*, const float*, const std::uint8_t*, const std::uint8_t*,
                         float*, float*, float*, float*) {}
}  // namespace kadrel::pairhmm

#endif
