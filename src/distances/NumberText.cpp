#include "distances/NumberText.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace kadrel {

std::string NumberText(double value, std::string_view decimalSeparator) {
    if (!std::isfinite(value)) return "NA";
    if (value == 0) return "0";  // negative zero too

    // 15 significant digits, then laid out without an exponent. to_chars ignores the locale,
    // so the separator is ours to place.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    const bool negative = text.front() == '-';
    std::string digits;
    for (const char c : text.substr(0, e)) {
        if (c >= '0' && c <= '9') digits += c;
    }
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string integerPart, fractionPart;
    if (exponent >= 0) {
        const auto split = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= split) {
            integerPart = digits + std::string(split - digits.size(), '0');
        } else {
            integerPart = digits.substr(0, split);
            fractionPart = digits.substr(split);
        }
    } else {
        integerPart = "0";
        fractionPart = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    std::string out = negative ? "-" : "";
    out += integerPart;
    if (!fractionPart.empty()) {
        out += decimalSeparator;
        out += fractionPart;
    }
    return out;
}

std::string ValueText(const std::optional<double>& value, std::string_view decimalSeparator) {
    return value ? NumberText(*value, decimalSeparator) : std::string("NA");
}

std::string LocaleDecimalSeparator() {
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr || *conventions->decimal_point == '\0') return ".";
    return conventions->decimal_point;
}

}  // namespace kadrel
