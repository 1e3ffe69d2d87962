#include <cstddef>
#include <string_view>

#include "align/pairhmm/Model.h"

namespace kadrel::pairhmm {
namespace {

// t_coffee turns each residue into a one-hot profile over these letters; any other character
// has an empty profile and so contributes a log term of 0 wherever it is emitted.
constexpr std::string_view kAminoLetters = "acdefghiklmnpqrstvwy";
constexpr std::string_view kBases = "acgtn";

constexpr std::uint32_t kSingleBits[5] = {0xbfbdc129, 0xbfb57fa9, 0xbfa12795, 0xbfb34458, 0xc10122e4};
constexpr std::uint32_t kOtherSingleBits = 0xc13834f1;
// Symmetric; rows and columns in the order of kBases.
constexpr std::uint32_t kPairBits[5][5] = {
    {0xbff3ecc4, 0xc07fa7fb, 0xc05480d5, 0xc06f1bf0, 0xc1230bab},
    {0xc07fa7fb, 0xbfebdd04, 0xc065dd14, 0xc04fbeae, 0xc1169f54},
    {0xc05480d5, 0xc065dd14, 0xbfcf56a5, 0xc06d9138, 0xc11672ad},
    {0xc06f1bf0, 0xc04fbeae, 0xc06d9138, 0xbfee049f, 0xc11818e2},
    {0xc1230bab, 0xc1169f54, 0xc11672ad, 0xc11818e2, 0xc128b841},
};
constexpr std::uint32_t kOtherPairBits = 0xc1b834f1;

Emissions MakeEmissions() {
    Emissions table;
    for (int c = 0; c < 256; ++c) {
        // ASCII only, whatever the user's locale says about other bytes.
        const char lower = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        if (lower < 'a' || lower > 'z' || kAminoLetters.find(lower) == std::string_view::npos) continue;
        const auto base = kBases.find(lower);
        table.classOf[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(base != std::string_view::npos ? base + 1 : 6);
    }
    for (int c1 = 1; c1 <= 6; ++c1) {
        table.single[static_cast<std::size_t>(c1)] = c1 <= 5 ? F(kSingleBits[c1 - 1]) : F(kOtherSingleBits);
        for (int c2 = 1; c2 <= 6; ++c2)
            table.pair[static_cast<std::size_t>(c1 * 8 + c2)] =
                c1 <= 5 && c2 <= 5 ? F(kPairBits[c1 - 1][c2 - 1]) : F(kOtherPairBits);
    }
    return table;
}

}  // namespace

const Emissions& TheEmissions() {
    static const Emissions table = MakeEmissions();
    return table;
}

}  // namespace kadrel::pairhmm
