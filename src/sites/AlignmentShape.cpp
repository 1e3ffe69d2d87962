#include "sites/AlignmentShape.h"

#include <algorithm>
#include <array>

#include "sites/SiteFolding.h"

namespace kadrel {
namespace {

bool IsGap(char c) { return c == '-'; }

// Whether a byte is a base once folded: a table, as the folding is.
constexpr auto kBases = [] {
    std::array<bool, 256> bases{};
    for (int c = 0; c < 256; ++c) {
        const char folded = kFoldedSites[c];
        bases[c] = folded == 'A' || folded == 'C' || folded == 'G' || folded == 'T';
    }
    return bases;
}();

bool IsBase(char c) { return kBases[static_cast<unsigned char>(c)]; }

}  // namespace

AlignmentShape MeasureAlignment(const AlignedPair& pair) {
    AlignmentShape shape;
    for (const char c : pair.first) shape.firstBases += IsBase(c) ? 1 : 0;
    const std::size_t length = std::min(pair.first.size(), pair.second.size());
    const auto both = [&](std::size_t i) { return !IsGap(pair.first[i]) && !IsGap(pair.second[i]); };
    std::size_t begin = 0;
    while (begin < length && !both(begin)) ++begin;
    if (begin == length) return shape;
    std::size_t end = length;
    while (!both(end - 1)) --end;

    // Residues before the region, so that positions count from the sequences' own starts.
    std::size_t first = 0, second = 0;
    for (std::size_t i = 0; i < begin; ++i) {
        first += IsGap(pair.first[i]) ? 0 : 1;
        second += IsGap(pair.second[i]) ? 0 : 1;
    }
    shape.firstStart = first + 1;
    shape.secondStart = second + 1;
    shape.columns = end - begin;
    bool inRun = false, gapFirst = false, gapSecond = false;
    for (std::size_t i = begin; i < end; ++i) {
        const bool g1 = IsGap(pair.first[i]), g2 = IsGap(pair.second[i]);
        first += g1 ? 0 : 1;
        second += g2 ? 0 : 1;
        if (g1 && g2) continue;  // a column of gaps only is no site of either sequence
        // Counted without a branch: a quarter of the sites of divergent pairs differ.
        const bool residues = !g1 && !g2, same = FoldedSite(pair.first[i]) == FoldedSite(pair.second[i]);
        shape.identical += residues && same;
        shape.mismatches += residues && !same;
        if ((g1 || g2) && !inRun) ++shape.internalGapRuns;
        inRun = g1 || g2;
        if (g1 && !gapFirst) ++shape.gapOpenings;
        if (g2 && !gapSecond) ++shape.gapOpenings;
        gapFirst = g1;
        gapSecond = g2;
    }
    shape.firstEnd = first;
    shape.secondEnd = second;
    return shape;
}

}  // namespace kadrel
