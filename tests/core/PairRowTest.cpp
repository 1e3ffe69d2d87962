#include <gtest/gtest.h>

#include <string>

#include "distances/PairRow.h"

namespace kadrel {
namespace {

AlignedPair Pair(std::string first, std::string second, bool usable = true) {
    const auto length = static_cast<double>(first.size());
    return AlignedPair{std::move(first), std::move(second), length, "", "", usable, ""};
}

// Identical and nearly identical pairs take the zero-distance rule under every model, even one
// whose own formula fails there; an unusable alignment, or one with a sequence without a base, is NA
// in every numeric column.
TEST(PairRow, RowsAsPrinted) {
    std::string a2000(2000, 'A'), one(a2000), three(a2000);
    one[10] = 'G';
    three[10] = three[20] = three[30] = 'G';
    const struct {
        AlignedPair pair;
        DistanceModel model;
        const char* separator;
        std::string row;
        bool hasNA;
    } cases[] = {
        {Pair("ACGTTGCA", "ACGTTGCA"), DistanceModel::None, ".", "8\t0\t0\t0\t0\t0\t0", false},
        {Pair("ACGTTGCA", "ACGTTGCA"), DistanceModel::JC, ".", "8\t0\t0\t0\t0\t0\t0\t0", false},
        {Pair("ACGTTGCA", "ACGTTGCA"), DistanceModel::K2P, ".", "8\t0\t0\t0\t0\t0\t0\t0", false},
        {Pair("ACGTTGCA", "ACGTTGCA"), DistanceModel::TN84, ".", "8\t0\t0\t0\t0\t0\t0\t0", false},
        {Pair("ACGTTGCA", "ACGTTGCA"), DistanceModel::T3P, ".", "8\t0\t0\t0\t0\t0\t0\t0", false},
        {Pair("ACGTTGCA", "ACGTTGCA"), DistanceModel::TN93, ".", "8\t0\t0\t0\t0\t0\t0\t0", false},
        {Pair("ACGTTGCA", "ACGTTGCA"), DistanceModel::LogDet, ".", "8\t0\t0\t0\t0\t0\t0\t0", false},
        {Pair(a2000, one), DistanceModel::TN84, ".", "2000\t1\t0\t0\t1\t0\t1\t0", false},
        {Pair(a2000, one), DistanceModel::LogDet, ".", "2000\t1\t0\t0\t1\t0\t1\t0", false},
        {Pair(a2000, three), DistanceModel::JC, ".", "2000\t3\t0.002\t0\t3\t0\t3\t0.002", false},
        {Pair("AAAAAAAAAG", "AAAAAAAAAA"), DistanceModel::JC, ",", "10\t1\t0,1\t0\t1\t0\t1\t0,107", false},
        {Pair("AAAAAAAAAG", "AAAAAAAAAA"), DistanceModel::TN84, ".", "10\t1\t0.1\t0\t1\t0\t1\tNA", true},
        {Pair("ACGT", "ACGA", false), DistanceModel::TN93, ".", "NA\tNA\tNA\tNA\tNA\tNA\tNA\tNA", true},
        {Pair("ACGT", "ACGA", false), DistanceModel::None, ".", "NA\tNA\tNA\tNA\tNA\tNA\tNA", true},
        {Pair("--", "AC"), DistanceModel::None, ".", "NA\tNA\tNA\tNA\tNA\tNA\tNA", true},
    };
    for (const auto& c : cases) {
        const PairRow row = ComputePairRow(c.pair, c.model);
        EXPECT_EQ(PairRowText("x y", "z", row, c.model, c.separator), "x y\tz\t" + c.row + "\r\n")
            << c.pair.second << " " << ColumnTitle(c.model);
        EXPECT_EQ(row.HasNA(c.model), c.hasNA) << c.row;
    }
}

}  // namespace
}  // namespace kadrel
