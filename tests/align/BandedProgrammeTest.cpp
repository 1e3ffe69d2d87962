#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>
#include <algorithm>

#include "align/builtin/BandedAlignment.h"
#include "align/builtin/FullMatrix.h"
#include "align/builtin/GapPlacement.h"

namespace kadrel {
namespace {

// Seeded pairs the band has to get right: each is a mutated copy of a random ancestor, with
// edits chosen to push the optimal path off the diagonals the end words point to.
struct Shape {
    const char* what;
    int length;
    double substitutions;
    int cutFirstStart, cutFirstEnd, cutSecondStart, cutSecondEnd;
    int gapAt, gapSize;  // a deletion from the second (negative size: an insertion into it)
    int laterGapAt, laterGapSize;  // another, after the first
    int nRun;            // N over this many sites in the middle of the first
    bool unrelated;
    bool mayBeLeft;  // to the full matrix: the band that proves it would cost more
};

std::string Random(std::mt19937& random, int length) {
    std::string text;
    for (int i = 0; i < length; ++i) text += "ACGT"[random() % 4];
    return text;
}

std::pair<std::string, std::string> MakePair(const Shape& s, std::uint32_t seed) {
    std::mt19937 random(seed);
    const std::string ancestor = Random(random, s.length);
    std::string first = ancestor, second = s.unrelated ? Random(random, s.length) : ancestor;
    for (char& c : second)
        if (random() % 10000 < s.substitutions * 10000) c = "ACGT"[(std::string("ACGT").find(c) + 1 + random() % 3) % 4];
    if (s.gapSize > 0) second.erase(static_cast<std::size_t>(s.gapAt), static_cast<std::size_t>(s.gapSize));
    if (s.gapSize < 0) second.insert(static_cast<std::size_t>(s.gapAt), Random(random, -s.gapSize));
    if (s.laterGapSize > 0) second.erase(static_cast<std::size_t>(s.laterGapAt), static_cast<std::size_t>(s.laterGapSize));
    if (s.laterGapSize < 0) second.insert(static_cast<std::size_t>(s.laterGapAt), Random(random, -s.laterGapSize));
    if (s.nRun > 0) first.replace(first.size() / 2, static_cast<std::size_t>(s.nRun), static_cast<std::size_t>(s.nRun), '1');
    first = first.substr(s.cutFirstStart, first.size() - s.cutFirstStart - s.cutFirstEnd);
    second = second.substr(s.cutSecondStart, second.size() - s.cutSecondStart - s.cutSecondEnd);
    return {first, second};
}

TEST(BandedProgramme, GivesTheFullMatrixAlignmentOnHardPairs) {
    const Shape shapes[] = {
        {"barcode 20% apart", 650, 0.20, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, false},
        {"barcode 25% apart", 650, 0.25, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, false},
        {"first ragged at the start, second at the end", 650, 0.15, 30, 0, 0, 25, 0, 0, 0, 0, 0, false, false},
        {"second ragged at the start, first at the end", 650, 0.15, 0, 40, 35, 0, 0, 0, 0, 0, 0, false, false},
        {"both ragged at both ends", 500, 0.2, 12, 3, 2, 14, 0, 0, 0, 0, 0, false, false},
        {"long deletion", 650, 0.15, 0, 0, 0, 0, 300, 60, 0, 0, 0, false, false},
        {"long insertion", 650, 0.15, 0, 0, 0, 0, 200, -45, 0, 0, 0, false, false},
        {"long deletion near the start", 650, 0.1, 0, 0, 0, 0, 20, 50, 0, 0, 0, false, false},
        {"unequal lengths", 1200, 0.12, 0, 500, 0, 0, 0, 0, 0, 0, 0, false, true},
        {"highly divergent", 650, 0.45, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, true},
        {"unrelated", 650, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, true, true},
        {"unrelated, unequal", 400, 0, 0, 150, 0, 0, 0, 0, 0, 0, 0, true, true},
        {"N run", 650, 0.2, 0, 0, 0, 0, 0, 0, 0, 0, 80, false, false},
        {"N run and a deletion", 650, 0.2, 5, 0, 0, 7, 100, 30, 0, 0, 60, false, true},
        // Ends on one diagonal, the middle far off it: the words at the ends place the band wrong.
        {"a deletion and an insertion far apart", 650, 0.05, 0, 0, 0, 0, 150, 90, 450, -90, 0, false, true},
        {"an insertion and a deletion", 650, 0.08, 0, 0, 0, 0, 200, -70, 400, 70, 0, false, false},
        // Out past the band's upper edge and back by a gap of the first's residues that spans
        // several tiles: the tiles it breaks are paid for by its sites, not once more.
        {"an insertion, a deletion just past the band", 398, 0.003, 0, 0, 0, 0, 136, -63, 280, 63, 0, false, false},
        {"an insertion, a deletion past the band", 406, 0.008, 0, 0, 0, 0, 159, -68, 305, 67, 0, false, false},
        {"short", 30, 0.3, 2, 0, 0, 3, 0, 0, 0, 0, 0, false, false},
        {"first empty", 30, 0.1, 30, 0, 0, 0, 0, 0, 0, 0, 0, false, true},
        {"second empty", 30, 0.1, 0, 0, 0, 30, 0, 0, 0, 0, 0, false, true},
        // Scores of pairs this long leave the 16-bit lanes.
        {"too long for the sweep", 7000, 0.02, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, true},
    };
    FullMatrixProgramme full;
    BandedProgramme banded;
    for (const Shape& shape : shapes) {
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            const auto [first, second] = MakePair(shape, seed);
            const std::string expected = full.Columns(first, second);
            for (const SimdPath path : {SimdPath::Plain, SimdPath::Avx2, SimdPath::Avx512}) {
                const auto outcome = banded.Align(first, second, path);
                const std::string where = std::string(shape.what) + ", seed " + std::to_string(seed) + ", " +
                                          SimdPathName(path);
                if (outcome.columns.empty()) {
                    EXPECT_TRUE(shape.mayBeLeft) << where;
                    continue;
                }
                ASSERT_TRUE(ColumnsFit(outcome.columns, first.size(), second.size())) << where;
                EXPECT_EQ(ColumnsCost(outcome.columns, first, second), ColumnsCost(expected, first, second)) << where;
                EXPECT_EQ(outcome.columns, expected) << where;
            }
        }
    }
}

// The aligner leaves the closest pairs to the wavefront aligner by the band's word estimate: the
// estimate must tell them from pairs a few percent apart, whatever their ends or length.
TEST(BandedProgramme, LeavesOnlyPairsCloserThanAsked) {
    const struct {
        Shape shape;
        bool close;
    } cases[] = {
        {{"identical", 650, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, false}, true},
        {{"1% apart", 650, 0.01, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, false}, true},
        {{"1% apart, ragged and a deletion", 650, 0.01, 9, 0, 0, 7, 300, 3, 0, 0, 0, false, false}, true},
        {{"6% apart", 650, 0.06, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, false}, false},
        {{"20% apart", 1500, 0.2, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, false}, false},
        {{"unrelated", 650, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, true, false}, false},
    };
    BandedProgramme banded;
    for (const auto& c : cases) {
        for (std::uint32_t seed = 1; seed <= 4; ++seed) {
            const auto [first, second] = MakePair(c.shape, seed);
            const auto outcome = banded.Align(first, second, FastestSimdPath(), 0.03);
            EXPECT_EQ(outcome.close, c.close) << c.shape.what << ", seed " << seed;
            if (c.close) {
                EXPECT_EQ(outcome.columns, "") << c.shape.what << ", seed " << seed;
            }
            EXPECT_FALSE(banded.Align(first, second).close) << c.shape.what << ": nothing left unasked";
        }
    }
}

// The least cost of a global alignment under the built-in scoring, by Gotoh's recurrences (score
// only): the reference the full matrix itself is held to.
long LeastCost(const std::string& first, const std::string& second) {
    const long never = 1L << 40;
    const std::size_t m = second.size();
    std::vector<long> h(m + 1), firstOnly(m + 1, never);  // row i - 1, then row i
    for (std::size_t j = 1; j <= m; ++j) h[j] = 5 + 2 * static_cast<long>(j);
    for (std::size_t i = 1; i <= first.size(); ++i) {
        long diagonal = h[0], secondOnly = never;
        h[0] = 5 + 2 * static_cast<long>(i);
        for (std::size_t j = 1; j <= m; ++j) {
            firstOnly[j] = std::min(h[j] + 7, firstOnly[j] + 2);
            secondOnly = std::min(h[j - 1] + 7, secondOnly + 2);
            const long both = diagonal + (first[i - 1] == second[j - 1] ? 0 : 3);
            diagonal = h[j];
            h[j] = std::min({both, firstOnly[j], secondOnly});
        }
    }
    return h[m];
}

// The full matrix is the band's reference and takes what the band leaves; a pair whose cost
// leaves 16 bits takes its 32-bit programme.
TEST(FullMatrixProgramme, FindsTheLeastCost) {
    const Shape divergent{"barcode 20% apart", 650, 0.20, 0, 0, 0, 0, 300, 4, 0, 0, 0, false, false};
    const Shape long16{"a 20,000-base first against 600 bases of it", 20000, 0.1, 0, 0, 0, 19400, 0, 0, 0, 0, 0,
                       false, false};
    FullMatrixProgramme full;
    for (const Shape& shape : {divergent, long16}) {
        const auto [first, second] = MakePair(shape, 5);
        const std::string columns = full.Columns(first, second);
        ASSERT_TRUE(ColumnsFit(columns, first.size(), second.size())) << shape.what;
        EXPECT_EQ(ColumnsCost(columns, first, second), LeastCost(first, second)) << shape.what;
    }
}

TEST(BandedProgramme, CostsColumnsAsTheScoringSays) {
    const struct {
        std::string columns, first, second;
        long cost;
    } cases[] = {
        {"MMMM", "ACGT", "ACGA", 3},
        {"MDDM", "ACGT", "AT", 9},       // one gap of two sites
        {"MDIM", "ACG", "ATG", 7 + 7},  // two gaps of one site each
        {"IMMD", "ACG", "TAC", 14},
        {"M", "1", "2", 3},  // what matches nothing
    };
    for (const auto& c : cases) EXPECT_EQ(ColumnsCost(c.columns, c.first, c.second), c.cost) << c.columns;
}

}  // namespace
}  // namespace kadrel
