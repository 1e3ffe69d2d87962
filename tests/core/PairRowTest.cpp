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
    const std::pair<DistanceModel, const char*> titles[] = {
        {DistanceModel::None, ""},           {DistanceModel::JC, "JC-dist."},     {DistanceModel::K2P, "K2P-dist."},
        {DistanceModel::TN84, "TN84-dist."}, {DistanceModel::T3P, "T3P-dist."},   {DistanceModel::TN93, "TN93-dist."},
        {DistanceModel::LogDet, "LogDet-dist."}};
    for (const auto& [model, title] : titles) EXPECT_EQ(ColumnTitleLine(model), common + title + "\r\n");
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

TEST(PairRow, UnusableAlignmentIsNAInEveryNumericColumn) {
    AlignedPair broken = Pair("ACGT", "ACGA");
    broken.usable = false;
    EXPECT_EQ(Row(broken, DistanceModel::TN93), "a\tb\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\r\n");
    EXPECT_EQ(Row(broken, DistanceModel::None), "a\tb\tNA\tNA\tNA\tNA\tNA\tNA\tNA\r\n");
    EXPECT_TRUE(ComputePairRow(broken, DistanceModel::None).HasNA(DistanceModel::None));
}

TEST(PairRow, DecimalSeparatorAppliesToEveryNumber) {
    const PairRow row = ComputePairRow(Pair("AAAAAAAAAG", "AAAAAAAAAA"), DistanceModel::JC);
    EXPECT_EQ(PairRowText("x y", "z", row, DistanceModel::JC, ","), "x y\tz\t10\t1\t0,1\t0\t1\t0\t1\t0,107\r\n");
    // Best matches rank by the model distance, or by the p-distance when there is no model.
    EXPECT_EQ(*row.RankingDistance(DistanceModel::JC), 0.107);
    EXPECT_EQ(*row.RankingDistance(DistanceModel::None), 0.1);
}

}  // namespace
}  // namespace kadrel
