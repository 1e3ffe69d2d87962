#pragma once
#include <array>

namespace kadrel {

// Every byte as the site code reads it: ASCII letters in upper case whatever the locale, the rest
// unchanged, but U for T (RNA-style libraries write U; unknown it would count as an identical
// site). A table, since this runs on every site of every pair and chained tests mispredict on DNA.
inline constexpr std::array<char, 256> kFoldedSites = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) table[c] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    table['U'] = table['u'] = 'T';
    return table;
}();

inline char FoldedSite(char c) { return kFoldedSites[static_cast<unsigned char>(c)]; }

}  // namespace kadrel
