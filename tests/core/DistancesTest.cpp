#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "distances/Models.h"
#include "distances/NumberText.h"
#include "distances/PairDistances.h"
#include "distances/Rounding.h"

namespace kadrel {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        int places;
        const char* text;
    };
    const Case cases[] = {
        {1.0 / 2000, 3, "0"},       {3.0 / 2000, 3, "0.002"},  {5.0 / 2000, 3, "0.002"},
        {7.0 / 2000, 3, "0.004"},   {1.0 / 1000, 3, "0.001"},  {0.4975, 2, "0.5"},
        {0.49, 2, "0.49"},          {0.1006, 3, "0.101"},      {1.3771489, 3, "1.377"},
        {-0.0005, 3, "0"},          {-0.0016, 3, "-0.002"},    {2.5, 0, "2"},
        {3.5, 0, "4"},              {20.0 / 3, 3, "6.667"},    {1.0 / 3, 3, "0.333"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NumberText(RoundHalfEven(c.value, c.places)), c.text) << c.value << " to " << c.places;
    }
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::numeric_limits<double>::quiet_NaN(), 3)));
}

TEST(NumberText, ShortestTextWithoutExponentOrTrailingZeros) {
    struct Case {
        double value;
        const char* separator;
        const char* text;
    };
    const Case cases[] = {
        {0.1, ".", "0.1"},
        {523, ".", "523"},
        {2.5, ".", "2.5"},
        {0.25, ".", "0.25"},
        {1200, ".", "1200"},
        {-0.0, ".", "0"},
        {0.33 + 0.33 + 0.33, ".", "0.99"},
        {0.1 + 0.2, ".", "0.3"},
        {5.991, ".", "5.991"},
        {0.00001, ".", "0.00001"},
        {-3.5, ".", "-3.5"},
        {123456789012345678.0, ".", "123456789012346000"},
        {1.0 / 3, ".", "0.333333333333333"},
        {0.1, ",", "0,1"},
        {1200, ",", "1200"},
    };
    for (const Case& c : cases) EXPECT_EQ(NumberText(c.value, c.separator), c.text) << c.value;
    EXPECT_EQ(ValueText(std::nullopt), "NA");
    EXPECT_EQ(ValueText(0.5, ","), "0,5");
}

double Rounded(const Value& v) { return v ? RoundHalfEven(*v, 3) : std::numeric_limits<double>::quiet_NaN(); }

TEST(Models, JukesCantorAndKimuraWorkedExamples) {
    EXPECT_EQ(NumberText(Rounded(JukesCantorDistance(0.1))), "0.107");
    EXPECT_NEAR(*JukesCantorDistance(0.1), 0.107326, 1e-6);
    EXPECT_EQ(NumberText(Rounded(JukesCantorDistance(0.001))), "0.001");
    EXPECT_EQ(NumberText(Rounded(Kimura2PDistance(0.07, 0.03))), "0.101");
    EXPECT_NEAR(*Kimura2PDistance(0.07, 0.03), 0.100899, 1e-6);
    // One half of transversions is taken as 0.499, so the distance stays finite.
    EXPECT_EQ(NumberText(Rounded(Kimura2PDistance(0.1, 0.5))), "1.377");
    EXPECT_NEAR(*Kimura2PDistance(0.1, 0.5), 1.377148, 1e-6);
    EXPECT_EQ(*Kimura2PDistance(0.1, 0.5), *Kimura2PDistance(0.1, 0.499));
}

// 200 compared sites, 14 transitions (8 A-G, 6 C-T), 6 transversions (2 A-C, 1 A-T, 2 C-G, 1 G-T).
PairCounts CompositionExample() {
    PairCounts c;
    c.differences = 20;
    c.transitions = 14;
    c.transversions = 6;
    c.purineTransitions = 8;
    c.pyrimidineTransitions = 6;
    c.pairAG = 8;
    c.pairCT = 6;
    c.pairAC = 2;
    c.pairAT = 1;
    c.pairCG = 2;
    c.pairGT = 1;
    c.baseA = 5.5;
    c.baseC = 5;
    c.baseG = 5.5;
    c.baseT = 4;
    c.gcFirst = 98;
    c.gcSecond = 101;
    return c;
}

TEST(Models, CompositionModelsWorkedExampleWithIntermediateValues) {
    const PairCounts counts = CompositionExample();
    const PairDistances d = DerivePairDistances(counts, 200);
    EXPECT_EQ(*d.pDistance, 0.1);
    EXPECT_EQ(*d.transitionShare, 0.07);
    EXPECT_EQ(*d.transversionShare, 0.03);
    EXPECT_EQ(*d.purineTransitionShare, 0.04);
    EXPECT_EQ(*d.pyrimidineTransitionShare, 0.03);
    EXPECT_EQ(*d.gcContent, 0.5);  // 0.4975 rounded to two places

    const TajimaNeiSteps tn84 = TajimaNeiTerms(*d.pDistance, counts);
    EXPECT_NEAR(tn84.h, 2.148760, 1e-6);
    EXPECT_NEAR(tn84.b, -50.247673, 1e-6);
    EXPECT_NEAR(tn84.d, 0.099900, 1e-6);
    EXPECT_EQ(NumberText(Rounded(ModelDistance(DistanceModel::TN84, d, counts))), "0.1");

    const Tamura3PSteps t3p = Tamura3PTerms(*d.gcContent, *d.transitionShare, *d.transversionShare);
    EXPECT_EQ(t3p.C, 0.5);
    EXPECT_NEAR(t3p.K1, 0.83, 1e-12);
    EXPECT_NEAR(t3p.K2, 0.94, 1e-12);
    EXPECT_NEAR(t3p.d, 0.108633, 1e-6);
    EXPECT_EQ(NumberText(Rounded(ModelDistance(DistanceModel::T3P, d, counts))), "0.109");

    const TamuraNeiSteps tn93 = TamuraNeiTerms(0.04, 0.03, 0.03, counts);
    EXPECT_EQ(tn93.c1, 5.5);
    EXPECT_NEAR(tn93.c2, 4.444444, 1e-6);
    EXPECT_NEAR(tn93.c3, 148.805555, 1e-6);
    EXPECT_NEAR(tn93.K1, 0.991363, 1e-6);
    EXPECT_NEAR(tn93.K2, 0.991583, 1e-6);
    EXPECT_NEAR(tn93.K3, 0.999848, 1e-6);
    EXPECT_NEAR(tn93.d, 0.107820, 1e-6);
    EXPECT_EQ(NumberText(Rounded(ModelDistance(DistanceModel::TN93, d, counts))), "0.108");

    EXPECT_EQ(NumberText(Rounded(ModelDistance(DistanceModel::JC, d, counts))), "0.107");
    EXPECT_EQ(NumberText(Rounded(ModelDistance(DistanceModel::K2P, d, counts))), "0.101");
    EXPECT_FALSE(ModelDistance(DistanceModel::None, d, counts));
}

TEST(Models, ThetaIsRoundedBeforeTamura3P) {
    PairCounts counts;
    counts.gcFirst = 98;
    counts.gcSecond = 98;
    const PairDistances d = DerivePairDistances(counts, 200);
    EXPECT_EQ(*d.gcContent, 0.49);
    EXPECT_NEAR(Tamura3PTerms(*d.gcContent, 0.07, 0.03).C, 0.4998, 1e-12);
}

TEST(Models, LogDetWorkedExampleWithMinors) {
    const double matrix[4][4] = {{45, 1, 3, 0}, {1, 50, 1, 2}, {5, 1, 48, 1}, {1, 4, 0, 37}};
    PairCounts counts;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) counts.pairMatrix[i][j] = matrix[i][j];
    const LogDetSteps s = LogDetTerms(counts, 200);
    EXPECT_NEAR(s.minors[0], 0.011047875, 1e-15);
    EXPECT_NEAR(s.minors[1], 0.000209625, 1e-15);
    EXPECT_NEAR(s.minors[2], -0.000686125, 1e-15);
    EXPECT_NEAR(s.minors[3], -0.000029875, 1e-15);
    EXPECT_NEAR(s.D, 0.0025017275, 1e-15);
    EXPECT_NEAR(s.d, 5.990773, 1e-6);
    EXPECT_EQ(NumberText(Rounded(LogDetDistance(counts, 200))), "5.991");

    // The orientation is part of the definition: the transposed matrix gives another determinant.
    PairCounts transposed;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) transposed.pairMatrix[i][j] = matrix[j][i];
    EXPECT_NEAR(LogDetTerms(transposed, 200).D, 0.00250195375, 1e-15);
}

// Failures seen through whole rows are covered by the distance command's tests; these are the
// edges a row rarely reaches.
TEST(Models, FailedStepsGiveNoValue) {
    PairCounts emptyMatrix;
    emptyMatrix.pairMatrix[0][0] = 10;
    struct Case {
        const char* what;
        Value value;
    };
    const Case cases[] = {
        {"JC at p = 0.75", JukesCantorDistance(0.75)},
        {"K2P with (1 - 2P) - Q = 0", Kimura2PDistance(0.3, 0.4)},
        {"K2P with (1 - 2P) - Q below 0", Kimura2PDistance(0.4, 0.3)},
        {"K2P with Q above one half", Kimura2PDistance(0.1, 0.6)},
        {"T3P with theta 0", Tamura3PDistance(0, 0.1, 0.1)},
        {"LogDet over no compared site", LogDetDistance(emptyMatrix, 0)},
        {"JC of NaN", JukesCantorDistance(std::numeric_limits<double>::quiet_NaN())},
    };
    for (const Case& c : cases) EXPECT_FALSE(c.value.has_value()) << c.what << " gave " << c.value.value_or(0);
}

TEST(DerivePairDistances, SharesOverComparedLength) {
    PairCounts gapRich;
    gapRich.differences = 20;
    gapRich.gaps = 100;
    EXPECT_EQ(*DerivePairDistances(gapRich, 300).pDistance, 0.1);

    // Transitions over transversions, or over 1 when there is no transversion.
    const struct {
        double transitions, transversions;
        const char* ratio;
    } ratios[] = {{20, 0, "20"}, {7, 2, "3.5"}, {1, 3, "0.333"}};
    for (const auto& r : ratios) {
        PairCounts counts;
        counts.transitions = r.transitions;
        counts.transversions = r.transversions;
        EXPECT_EQ(NumberText(*DerivePairDistances(counts, 100).tsTvRatio), r.ratio) << r.transitions;
    }

    PairCounts gc;
    gc.gcFirst = 45;
    gc.gcSecond = 47;
    EXPECT_EQ(*DerivePairDistances(gc, 100).gcContent, 0.46);

    PairCounts allGaps;
    allGaps.gaps = 5;
    allGaps.transitions = 1;
    const PairDistances none = DerivePairDistances(allGaps, 5);
    EXPECT_EQ(none.comparedLength, 0);
    for (const Value* v : {&none.pDistance, &none.transitionShare, &none.transversionShare, &none.gcContent,
                           &none.purineTransitionShare, &none.pyrimidineTransitionShare})
        EXPECT_FALSE(v->has_value());
    EXPECT_EQ(*none.tsTvRatio, 1);  // does not depend on the compared length
}

}  // namespace
}  // namespace kadrel
