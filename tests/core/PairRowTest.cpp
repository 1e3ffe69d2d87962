#include <gtest/gtest.h>

#include <string>

#include "distances/PairRow.h"

namespace kadrel {
namespace {

AlignedPair Pair(std::string first, std::string second) {
    AlignedPair pair;
    pair.length = static_cast<double>(first.size());
    pair.first = std::move(first);
    pair.second = std::move(second);
    pair.usable = true;
    return pair;
}

std::string Row(const AlignedPair& pair, DistanceModel model) {
    return PairRowText("a", "b", ComputePairRow(pair, model), model, ".");
}

TEST(PairRow, TitleLinesPerModel) {
    const std::string common = "Seq1\tSeq2\tLength\tNo. Diff.\tp-Dist\tNo. gaps\tNo. Trans.\tNo. Transv.\tTs/Tv\t";
    EXPECT_EQ(ColumnTitleLine(DistanceModel::None), common + "\r\n");
    EXPECT_EQ(ColumnTitleLine(DistanceModel::JC), common + "JC-dist.\r\n");
    EXPECT_EQ(ColumnTitleLine(DistanceModel::K2P), common + "K2P-dist.\r\n");
    EXPECT_EQ(ColumnTitleLine(DistanceModel::TN84), common + "TN84-dist.\r\n");
    EXPECT_EQ(ColumnTitleLine(DistanceModel::T3P), common + "T3P-dist.\r\n");
    EXPECT_EQ(ColumnTitleLine(DistanceModel::TN93), common + "TN93-dist.\r\n");
    EXPECT_EQ(ColumnTitleLine(DistanceModel::LogDet), common + "LogDet-dist.\r\n");
}

TEST(PairRow, IdenticalSequencesGiveZeroUnderEveryModel) {
    const AlignedPair same = Pair("ACGTTGCA", "ACGTTGCA");
    EXPECT_EQ(Row(same, DistanceModel::None), "a\tb\t8\t0\t0\t0\t0\t0\t0\r\n");
    for (DistanceModel m : {DistanceModel::JC, DistanceModel::K2P, DistanceModel::TN84, DistanceModel::T3P,
                            DistanceModel::TN93, DistanceModel::LogDet}) {
        EXPECT_EQ(Row(same, m), "a\tb\t8\t0\t0\t0\t0\t0\t0\t0\r\n") << ModelName(m);
    }
}

// One difference in 2000 compared sites rounds to a p-distance of 0 and so takes the zero rule
// even under a model whose own formula would fail on this pair.
TEST(PairRow, NearlyIdenticalPairsTakeTheZeroDistanceRule) {
    std::string first(2000, 'A'), second(2000, 'A');
    second[10] = 'G';
    const AlignedPair pair = Pair(first, second);
    EXPECT_EQ(Row(pair, DistanceModel::TN84), "a\tb\t2000\t1\t0\t0\t1\t0\t1\t0\r\n");
    EXPECT_EQ(Row(pair, DistanceModel::LogDet), "a\tb\t2000\t1\t0\t0\t1\t0\t1\t0\r\n");
    second[20] = 'G';
    second[30] = 'G';
    EXPECT_EQ(Row(Pair(first, second), DistanceModel::JC), "a\tb\t2000\t3\t0.002\t0\t3\t0\t3\t0.002\r\n");
}

TEST(PairRow, FailedValuesAreNAInExactlyTheirColumns) {
    struct Case {
        const char* what;
        AlignedPair pair;
        DistanceModel model;
        const char* row;
    };
    const Case cases[] = {
        {"JC saturated", Pair("AAAA", "CGTC"), DistanceModel::JC, "a\tb\t4\t4\t1\t0\t1\t3\t0.333\tNA\r\n"},
        {"TN84 without T", Pair("AACCGG", "GACAGG"), DistanceModel::TN84, "a\tb\t6\t2\t0.333\t0\t1\t1\t1\tNA\r\n"},
        {"T3P with Q one half", Pair("AAAA", "AACC"), DistanceModel::T3P, "a\tb\t4\t2\t0.5\t0\t0\t2\t0\tNA\r\n"},
        {"K2P with Q one half", Pair("AAAA", "AACC"), DistanceModel::K2P, "a\tb\t4\t2\t0.5\t0\t0\t2\t0\t1.122\r\n"},
        {"LogDet with D 0", Pair("AAAC", "AAAG"), DistanceModel::LogDet, "a\tb\t4\t1\t0.25\t0\t0\t1\t0\tNA\r\n"},
        {"no compared site", Pair("--A", "AC-"), DistanceModel::K2P, "a\tb\t3\t0\tNA\t3\t0\t0\t0\tNA\r\n"},
        {"no compared site, no model", Pair("--", "AC"), DistanceModel::None, "a\tb\t2\t0\tNA\t2\t0\t0\t0\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Row(c.pair, c.model), c.row) << c.what;
        EXPECT_TRUE(ComputePairRow(c.pair, c.model).HasNA(c.model) || std::string(c.row).find("NA") == std::string::npos)
            << c.what;
    }
}

TEST(PairRow, UnusableAlignmentIsNAInEveryNumericColumn) {
    AlignedPair broken = Pair("ACGT", "ACGA");
    broken.usable = false;
    EXPECT_EQ(Row(broken, DistanceModel::TN93), "a\tb\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\r\n");
    EXPECT_EQ(Row(broken, DistanceModel::None), "a\tb\tNA\tNA\tNA\tNA\tNA\tNA\tNA\r\n");
    EXPECT_TRUE(ComputePairRow(broken, DistanceModel::None).HasNA(DistanceModel::None));
}

TEST(PairRow, RankingDistanceFollowsTheModel) {
    const AlignedPair pair = Pair("AAAAAAAAAG", "AAAAAAAAAA");
    const PairRow none = ComputePairRow(pair, DistanceModel::None);
    EXPECT_EQ(*none.RankingDistance(DistanceModel::None), 0.1);
    EXPECT_FALSE(none.HasNA(DistanceModel::None));
    const PairRow jc = ComputePairRow(pair, DistanceModel::JC);
    EXPECT_EQ(*jc.RankingDistance(DistanceModel::JC), 0.107);
}

TEST(PairRow, DecimalSeparatorAppliesToEveryNumber) {
    const PairRow row = ComputePairRow(Pair("AAAAAAAAAG", "AAAAAAAAAA"), DistanceModel::JC);
    EXPECT_EQ(PairRowText("x y", "z", row, DistanceModel::JC, ","), "x y\tz\t10\t1\t0,1\t0\t1\t0\t1\t0,107\r\n");
}

}  // namespace
}  // namespace kadrel
