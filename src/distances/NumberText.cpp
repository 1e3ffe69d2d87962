#include "distances/NumberText.h"

#include <charconv>
#include <clocale>
#include <cmath>

namespace kadrel {

std::string NumberText(double value, std::string_view decimalSeparator) {
    if (!std::isfinite(value)) return "NA";
    if (value == 0) return "0";  // negative zero too

    // 15 significant digits, then laid out without an exponent. For a normal number the shortest
    // text that reads back as the value holds exactly those digits whenever it has 15 or fewer (it
    // is then the nearest 15-digit number), and is much cheaper to make. to_chars ignores the
    // locale, so the separator is ours to place.
    char buffer[64];
    const auto scientific = [&](auto... precision) {
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                       precision...).ptr;
        return std::string_view(buffer, static_cast<std::size_t>(end - buffer));
    };
    std::string_view text = scientific();
    char digits[32];
    std::size_t count = 0;
    const auto collectDigits = [&] {
        count = 0;
        for (const char c : text.substr(0, text.find('e'))) {
            if (c >= '0' && c <= '9') digits[count++] = c;
        }
    };
    collectDigits();
    if (count > 15 || !std::isnormal(value)) {
        text = scientific(14);
        collectDigits();
    }
    while (count > 1 && digits[count - 1] == '0') --count;
    const std::string_view exponentText = text.substr(text.find('e') + 1);
    int exponent = 0;
    std::from_chars(exponentText.data() + 1, exponentText.data() + exponentText.size(), exponent);
    if (exponentText.front() == '-') exponent = -exponent;

    std::string out;
    if (value < 0) out += '-';
    if (exponent >= 0) {
        const auto split = static_cast<std::size_t>(exponent) + 1;
        if (count <= split) {
            out.append(digits, count).append(split - count, '0');
        } else {
            out.append(digits, split).append(decimalSeparator).append(digits + split, count - split);
        }
    } else {
        out.append("0").append(decimalSeparator).append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits, count);
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
