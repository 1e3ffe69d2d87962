#include "align/builtin/GapPlacement.h"

#include <algorithm>

namespace kadrel {

bool ColumnsFit(const std::string& columns, std::size_t firstLength, std::size_t secondLength) {
    std::size_t both = 0, firstOnly = 0, secondOnly = 0;
    for (const char column : columns) {
        both += column == kBoth;
        firstOnly += column == kFirstOnly;
        secondOnly += column == kSecondOnly;
    }
    return both + firstOnly + secondOnly == columns.size() && both + firstOnly == firstLength &&
           both + secondOnly == secondLength;
}

namespace {

// The columns and residues counted from one edge of the alignment inwards.
struct Edge {
    std::string& columns;
    const std::string& first;
    const std::string& second;
    bool fromEnd;

    static std::size_t At(std::size_t size, std::size_t i, bool fromEnd) { return fromEnd ? size - 1 - i : i; }
    char& Column(std::size_t i) const { return columns[At(columns.size(), i, fromEnd)]; }
    char First(std::size_t i) const { return first[At(first.size(), i, fromEnd)]; }
    char Second(std::size_t i) const { return second[At(second.size(), i, fromEnd)]; }
};

// An edge of the form: a few columns of both residues, a run of one side's gap, more columns of
// both, within the `usable` outermost columns. Up to `most` of the gapped side's residues go to
// the outermost columns and the gap just inside them; all but the first only while they add at
// most `extraMismatches` mismatches to where they would stand with the gap at the very edge.
// Gives the number of outermost columns that now hold moved residues.
std::size_t MoveResiduesOut(const Edge& edge, std::size_t usable, std::size_t most, int extraMismatches) {
    std::size_t lead = 0;
    while (lead < usable && edge.Column(lead) == kBoth) ++lead;
    if (lead == usable || lead > most) return 0;
    const char gap = edge.Column(lead);
    std::size_t run = 0;
    while (lead + run < usable && edge.Column(lead + run) == gap) ++run;
    std::size_t after = 0;
    while (lead + run + after < usable && edge.Column(lead + run + after) == kBoth) ++after;

    // x: the side with the gap, y: the side with residues under it.
    const bool firstHasGap = gap == kSecondOnly;
    const auto x = [&](std::size_t i) { return firstHasGap ? edge.First(i) : edge.Second(i); };
    const auto y = [&](std::size_t i) { return firstHasGap ? edge.Second(i) : edge.First(i); };
    std::size_t moved = 0;
    int extra = 0;
    for (std::size_t k = 0; k < most && k < lead + after; ++k) {
        extra += static_cast<int>(x(k) != y(k)) - static_cast<int>(x(k) != y(run + k));
        if (k > 0 && extra > extraMismatches) break;
        moved = k + 1;
    }
    for (std::size_t i = 0; i < lead + run + after; ++i)
        edge.Column(i) = i >= moved && i < moved + run ? gap : kBoth;
    return moved;
}

}  // namespace

void PlaceTerminalGaps(std::string& columns, const std::string& first, const std::string& second) {
    const std::size_t taken = MoveResiduesOut(Edge{columns, first, second, false}, columns.size(), 2, 1);
    // A residue just moved to the start stays there.
    MoveResiduesOut(Edge{columns, first, second, true}, columns.size() - taken, 1, 0);
}

AlignedPair AlignedTexts(const std::string& columns, const std::string& first, const std::string& second) {
    AlignedPair pair;
    pair.first.resize(columns.size());
    pair.second.resize(columns.size());
    std::size_t i = 0, k = 0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        pair.first[c] = columns[c] == kSecondOnly ? '-' : first[i++];
        pair.second[c] = columns[c] == kFirstOnly ? '-' : second[k++];
    }
    return pair;
}

}  // namespace kadrel
