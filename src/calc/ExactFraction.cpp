#include "calc/ExactFraction.h"

namespace kadrel {

std::optional<Fraction> ParseDecimal(std::string_view text) {
    Fraction value{0, 1};
    bool point = false, digits = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') return std::nullopt;
        if (value.numerator > 1'000'000'000'000ULL) return std::nullopt;
        if (point) {
            if (value.denominator == 1'000'000'000ULL) return std::nullopt;
            value.denominator *= 10;
        }
        value.numerator = value.numerator * 10 + static_cast<std::uint64_t>(c - '0');
        digits = true;
    }
    if (!digits) return std::nullopt;
    return value;
}

std::string DecimalText(const Fraction& value) {
    std::uint64_t whole = value.numerator / value.denominator, rest = value.numerator % value.denominator;
    std::string text = std::to_string(whole);
    if (rest == 0) return text;
    text += '.';
    for (std::uint64_t scale = value.denominator / 10; rest != 0 && scale != 0; scale /= 10) {
        text += static_cast<char>('0' + rest / scale);
        rest %= scale;
    }
    return text;
}

}  // namespace kadrel
