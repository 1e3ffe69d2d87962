#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

// A non-negative ratio of whole numbers, compared by cross-multiplying so that no rounding (of a
// printed p, of a threshold typed in decimals) ever decides whether a pair is a hit or a tie.
struct Fraction {
    std::uint64_t numerator = 0;
    std::uint64_t denominator = 1;  // never 0
};

inline int Compare(const Fraction& a, const Fraction& b) {
    const unsigned __int128 left = static_cast<unsigned __int128>(a.numerator) * b.denominator;
    const unsigned __int128 right = static_cast<unsigned __int128>(b.numerator) * a.denominator;
    return left < right ? -1 : left > right ? 1 : 0;
}
inline bool operator<=(const Fraction& a, const Fraction& b) { return Compare(a, b) <= 0; }
inline bool operator<(const Fraction& a, const Fraction& b) { return Compare(a, b) < 0; }
inline bool operator==(const Fraction& a, const Fraction& b) { return Compare(a, b) == 0; }

// "0.02", "1", ".5", "0.125": digits with at most one point and at most 9 decimals, whatever the
// locale; no value for anything else.
std::optional<Fraction> ParseDecimal(std::string_view text);
// The decimal text of a fraction ParseDecimal made: "0.02", "0.1", "1".
std::string DecimalText(const Fraction& value);

}  // namespace kadrel
