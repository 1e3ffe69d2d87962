#pragma once
#include <array>
#include <bit>
#include <cstdint>

// The pair-HMM of t_coffee's two-sequence DNA path. Every constant is the exact binary32 (or
// binary64) value t_coffee ends up with on glibc, given as its bit pattern, so that no result
// depends on the maths library of the machine. This folder is built with -ffp-contract=off:
// a fused multiply-add would change the last bit of the polynomials and with it the alignment.
namespace kadrel::pairhmm {

constexpr float F(std::uint32_t bits) { return std::bit_cast<float>(bits); }
constexpr double D(std::uint64_t bits) { return std::bit_cast<double>(bits); }

// The "zero" of every log-space cell: a plain, very negative float. Adding an ordinary log
// value to it gives it back, so it needs no special case anywhere.
inline constexpr float kZero = F(0xe12d78ec);

// Start and end in M, and in I or J (the protein start distribution; t_coffee uses it for DNA).
inline constexpr float kStartM = F(0xbec4596a);
inline constexpr float kStartGap = F(0xc115c006);
inline constexpr float kMM = F(0xbd1ee737);
inline constexpr float kMGap = F(0xc07d90a1);    // M -> I and M -> J
inline constexpr float kGapGap = F(0xbf8f14c7);  // I -> I and J -> J
inline constexpr float kGapM = F(0xbecac020);    // I -> M and J -> M

// log(1 + e^-d) for 0 <= d < 7.5: t_coffee's cubic pieces, evaluated in float in this order.
inline float LogOnePlusExpMinus(float d) {
    if (d <= 1.0f) return ((F(0xbc19343d) * d + F(0x3e05cb9c)) * d + F(0x3eff62b0)) * d + F(0x3f3175c2);
    if (d <= 2.5f) return ((F(0xbc6e18fa) * d + F(0x3e0f4d0a)) * d + F(0x3efdc3f0)) * d + F(0x3f313020);
    if (d <= 4.5f) return ((F(0xbb96e5ce) * d + F(0x3d81e63c)) * d + F(0x3f322a34)) * d + F(0x3f03a75f);
    return ((F(0xb9f07885) * d + F(0x3c1edbbf)) * d + F(0x3f6e44a1)) * d + F(0x3e2c11ef);
}

// log(e^x + e^y) as t_coffee approximates it; commutative.
inline float LogAdd(float x, float y) {
    if (x < y) {
        const float d = y - x;
        return d >= 7.5f ? y : LogOnePlusExpMinus(d) + x;
    }
    const float d = x - y;
    return d >= 7.5f ? x : LogOnePlusExpMinus(d) + y;
}

// e^x for x <= 0, in double: t_coffee's quartic pieces, zero below -16.
inline double ExpOfNonPositive(double x) {
    struct Piece {
        double above;
        std::uint64_t a[5];
    };
    static constexpr Piece kPieces[] = {
        {-0.5, {0x3fa0a99e8e800005, 0x3fc4d6c5af780012, 0x3fdff47df0f6000b, 0x3fefff9a479ee003, 0x3feffffe7013aa07}},
        {-1.0, {0x3f943675367ffff2, 0x3fc1b1513f7ffff3, 0x3fdec19a0f09ffff, 0x3fefc8dceaa0d004, 0x3feff85c8caf4047}},
        {-2.0, {0x3f8343139607ffff, 0x3fb81a30ca770000, 0x3fda20e5e4d1a008, 0x3fee0f0ae7e45004, 0x3fef7a6e1bc0a387}},
        {-4.0, {0x3f61cbf908768008, 0x3fa1d7a2b889bffd, 0x3fcc4fb113f737f8, 0x3fe574b1233d2d04, 0x3feabcfc40b428ab}},
        {-8.0, {0x3f20405652409fef, 0x3f6c9a53da32c806, 0x3fa315ffc0445409, 0x3fc7020c193a55f7, 0x3fd54790b839a2e5}},
        {-16.0, {0x3ea15c944f9401fd, 0x3efc895aed611406, 0x3f418113bd743ac8, 0x3f7302764a9aa0d9, 0x3f8edf5e6e769140}},
    };
    for (const Piece& piece : kPieces) {
        if (x > piece.above) {
            const auto& a = piece.a;
            return (((D(a[0]) * x + D(a[1])) * x + D(a[2])) * x + D(a[3])) * x + D(a[4]);
        }
    }
    return 0.0;
}

// Emission log-probabilities by residue class: 0 for a character outside the 20 amino-acid
// letters (it emits with probability 1, log 0) and for the padding beyond either end, 1 to 5 for
// a c g t n (either case), 6 for another amino-acid letter. single[c] is a residue against a gap,
// pair[c1 * 8 + c2] a matched column.
struct Emissions {
    std::array<std::uint8_t, 256> classOf{};
    std::array<float, 8> single{};
    std::array<float, 64> pair{};
};
const Emissions& TheEmissions();

}  // namespace kadrel::pairhmm
