#include "align/pairhmm/DiagonalKernels.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#include "align/pairhmm/Model.h"

// The anti-diagonal kernels written out for AVX-512, 16 cells at a time. Each lane does what the
// portable loops of DiagonalKernels.cpp do for one cell, operation for operation (separate
// multiplies and adds, no fused ones); table look-ups become permutations of registers.
#define KADREL_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl")))

namespace kadrel::pairhmm {
namespace {

struct Tables {
    __m512 c3, c2, c1, c0;             // the correction's pieces, by piece number
    __m512 pair0, pair1, pair2, pair3;  // pair emissions, 16 entries each
    __m512 single;
};

KADREL_AVX512 Tables MakeTables() {
    const Emissions& em = TheEmissions();
    alignas(64) float pieces[4][16] = {
        {F(0xbc19343d), F(0xbc6e18fa), F(0xbb96e5ce), F(0xb9f07885)},
        {F(0x3e05cb9c), F(0x3e0f4d0a), F(0x3d81e63c), F(0x3c1edbbf)},
        {F(0x3eff62b0), F(0x3efdc3f0), F(0x3f322a34), F(0x3f6e44a1)},
        {F(0x3f3175c2), F(0x3f313020), F(0x3f03a75f), F(0x3e2c11ef)},
    };
    alignas(64) float single[16] = {};
    for (int c = 0; c < 8; ++c) single[c] = em.single[static_cast<std::size_t>(c)];
    return {_mm512_load_ps(pieces[0]), _mm512_load_ps(pieces[1]), _mm512_load_ps(pieces[2]),
            _mm512_load_ps(pieces[3]), _mm512_loadu_ps(em.pair.data()), _mm512_loadu_ps(em.pair.data() + 16),
            _mm512_loadu_ps(em.pair.data() + 32), _mm512_loadu_ps(em.pair.data() + 48), _mm512_load_ps(single)};
}

// The masked form: the plain one trips GCC 12's uninitialised-value warning inside its header.
KADREL_AVX512 inline __m512 Permute(__m512i index, __m512 table) {
    return _mm512_maskz_permutexvar_ps(__mmask16(0xffff), index, table);
}

KADREL_AVX512 inline __m512 Add(const Tables& k, __m512 x, __m512 y) {
    const __mmask16 less = _mm512_cmp_ps_mask(x, y, _CMP_LT_OQ);
    const __m512 big = _mm512_mask_blend_ps(less, x, y);
    const __m512 small = _mm512_mask_blend_ps(less, y, x);
    const __m512 d = _mm512_sub_ps(big, small);
    __m512i piece = _mm512_setzero_si512();
    const __m512i one = _mm512_set1_epi32(1);
    piece = _mm512_mask_add_epi32(piece, _mm512_cmp_ps_mask(d, _mm512_set1_ps(1.0f), _CMP_GT_OQ), piece, one);
    piece = _mm512_mask_add_epi32(piece, _mm512_cmp_ps_mask(d, _mm512_set1_ps(2.5f), _CMP_GT_OQ), piece, one);
    piece = _mm512_mask_add_epi32(piece, _mm512_cmp_ps_mask(d, _mm512_set1_ps(4.5f), _CMP_GT_OQ), piece, one);
    __m512 v = _mm512_mul_ps(Permute(piece, k.c3), d);
    v = _mm512_mul_ps(_mm512_add_ps(v, Permute(piece, k.c2)), d);
    v = _mm512_mul_ps(_mm512_add_ps(v, Permute(piece, k.c1)), d);
    v = _mm512_add_ps(v, Permute(piece, k.c0));
    const __m512 sum = _mm512_add_ps(v, small);
    return _mm512_mask_blend_ps(_mm512_cmp_ps_mask(d, _mm512_set1_ps(7.5f), _CMP_GE_OQ), sum, big);
}

KADREL_AVX512 inline __m512i Classes(const std::uint8_t* at, __mmask16 lanes) {
    return _mm512_maskz_cvtepu8_epi32(lanes, _mm_maskz_loadu_epi8(lanes, at));
}

KADREL_AVX512 inline __m512 PairEmission(const Tables& k, __m512i cx, __m512i cy) {
    const __m512i index = _mm512_add_epi32(_mm512_maskz_slli_epi32(__mmask16(0xffff), cx, 3), cy);
    const __m512 low = _mm512_permutex2var_ps(k.pair0, index, k.pair1);
    const __m512 high = _mm512_permutex2var_ps(k.pair2, index, k.pair3);
    return _mm512_mask_blend_ps(_mm512_test_epi32_mask(index, _mm512_set1_epi32(32)), low, high);
}

KADREL_AVX512 inline __m512 Load(const float* at, __mmask16 lanes) { return _mm512_maskz_loadu_ps(lanes, at); }

inline __mmask16 Lanes(int left) { return left >= 16 ? __mmask16(0xffff) : __mmask16((1u << left) - 1); }

}  // namespace

KADREL_AVX512 void ForwardDiagonal512(int n, const float* diagM, const float* diagIns, const float* diagDel,
                                      const float* upM, const float* upIns, const float* leftM, const float* leftDel,
                                      const std::uint8_t* cx, const std::uint8_t* cy, float* m, float* ins,
                                      float* del) {
    static const Tables k = MakeTables();
    const __m512 mm = _mm512_set1_ps(kMM), gapM = _mm512_set1_ps(kGapM), mGap = _mm512_set1_ps(kMGap),
                 gapGap = _mm512_set1_ps(kGapGap);
    for (int t = 0; t < n; t += 16) {
        const __mmask16 lanes = Lanes(n - t);
        const __m512i x = Classes(cx + t, lanes), y = Classes(cy + t, lanes);
        __m512 a = _mm512_add_ps(Load(diagM + t, lanes), mm);
        a = Add(k, a, _mm512_add_ps(Load(diagIns + t, lanes), gapM));
        a = Add(k, a, _mm512_add_ps(Load(diagDel + t, lanes), gapM));
        _mm512_mask_storeu_ps(m + t, lanes, _mm512_add_ps(a, PairEmission(k, x, y)));
        const __m512 up = Add(k, _mm512_add_ps(Load(upM + t, lanes), mGap), _mm512_add_ps(Load(upIns + t, lanes), gapGap));
        _mm512_mask_storeu_ps(ins + t, lanes, _mm512_add_ps(Permute(x, k.single), up));
        const __m512 left =
            Add(k, _mm512_add_ps(Load(leftM + t, lanes), mGap), _mm512_add_ps(Load(leftDel + t, lanes), gapGap));
        _mm512_mask_storeu_ps(del + t, lanes, _mm512_add_ps(Permute(y, k.single), left));
    }
}

KADREL_AVX512 void BackwardDiagonal512(int n, const float* diagM, const float* downIns, const float* rightDel,
                                       const std::uint8_t* cx, const std::uint8_t* cy, float* m, float* ins,
                                       float* del, float* sum) {
    static const Tables k = MakeTables();
    const __m512 mm = _mm512_set1_ps(kMM), gapM = _mm512_set1_ps(kGapM),
                 mGap = _mm512_set1_ps(kMGap), gapGap = _mm512_set1_ps(kGapGap);
    for (int t = 0; t < n; t += 16) {
        const __mmask16 lanes = Lanes(n - t);
        const __m512i x = Classes(cx + t, lanes), y = Classes(cy + t, lanes);
        const __m512 p = _mm512_add_ps(Load(diagM + t, lanes), PairEmission(k, x, y));
        const __m512 q = _mm512_add_ps(Load(downIns + t, lanes), Permute(x, k.single));
        const __m512 r = _mm512_add_ps(Load(rightDel + t, lanes), Permute(y, k.single));
        const __m512 b0 = Add(k, Add(k, _mm512_add_ps(p, mm), _mm512_add_ps(q, mGap)), _mm512_add_ps(r, mGap));
        _mm512_mask_storeu_ps(m + t, lanes, b0);
        _mm512_mask_storeu_ps(ins + t, lanes, Add(k, _mm512_add_ps(p, gapM), _mm512_add_ps(q, gapGap)));
        _mm512_mask_storeu_ps(del + t, lanes, Add(k, _mm512_add_ps(p, gapM), _mm512_add_ps(r, gapGap)));
        _mm512_mask_storeu_ps(sum + t, lanes, _mm512_add_ps(Load(sum + t, lanes), b0));
    }
}

bool HasAvx512() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vl");
    return has;
}

}  // namespace kadrel::pairhmm

#else

namespace kadrel::pairhmm {
bool HasAvx512() { return false; }
void ForwardDiagonal512(int, const float*, const float*, const float*, const float*, const float*, const float*,
                        const float*, const std::uint8_t*, const std::uint8_t*, float*, float*, float*) {}
void BackwardDiagonal512(int, const float*, const float*, const float*, const std::uint8_t*, const std::uint8_t*,
                         float*, float*, float*, float*) {}
}  // namespace kadrel::pairhmm

#endif
