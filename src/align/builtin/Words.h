#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace kadrel {

// The words of 8 letters of A, C, G, T, two bits a letter, by which the built-in aligner
// estimates how far apart a pair is and where its band lies.
constexpr int kWordLength = 8;
constexpr std::size_t kWords = std::size_t{1} << (2 * kWordLength);

// A, C, G, T as 0 to 3, anything else -1: a table, since a chain of tests mispredicts on DNA.
inline constexpr auto kBaseCodes = [] {
    std::array<std::int8_t, 256> codes{};
    codes.fill(-1);
    codes['A'] = 0;
    codes['C'] = 1;
    codes['G'] = 2;
    codes['T'] = 3;
    return codes;
}();

// Calls use(start, word) for every word of A, C, G, T of `text` starting in [from, to).
template <class Use>
void EachWord(const std::string& text, int from, int to, Use use) {
    std::uint32_t word = 0;
    int valid = 0;
    const int end = std::min(to + kWordLength - 1, static_cast<int>(text.size()));
    for (int p = std::max(from, 0); p < end; ++p) {
        const int code = kBaseCodes[static_cast<unsigned char>(text[static_cast<std::size_t>(p)])];
        valid = code < 0 ? 0 : valid + 1;
        word = ((word << 2) | static_cast<std::uint32_t>(code & 3)) & (kWords - 1);
        if (valid >= kWordLength) use(p - kWordLength + 1, word);
    }
}

}  // namespace kadrel
