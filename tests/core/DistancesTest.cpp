#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "distances/Models.h"
#include "distances/NumberText.h"
#include "distances/PairRow.h"
#include "distances/Rounding.h"

namespace kadrel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

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
    EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN, 3)));
}

TEST(NumberText, ShortestTextWithoutExponentOrTrailingZeros) {
    struct Case {
        double value;
        const char* separator;
        const char* text;
    };
    const Case cases[] = {
        {0.1, ".", "0.1"},       {523, ".", "523"},         {2.5, ".", "2.5"},
        {0.25, ".", "0.25"},     {1200, ".", "1200"},       {-0.0, ".", "0"},
        {0.33 + 0.33 + 0.33, ".", "0.99"},                  {0.1 + 0.2, ".", "0.3"},
        {5.991, ".", "5.991"},   {0.00001, ".", "0.00001"}, {-3.5, ".", "-3.5"},
        {123456789012345678.0, ".", "123456789012346000"},  {1.0 / 3, ".", "0.333333333333333"},
        {0.1, ",", "0,1"},       {1200, ",", "1200"},       {kNaN, ".", "NA"},
    };
    for (const Case& c : cases) EXPECT_EQ(NumberText(c.value, c.separator), c.text) << c.value;
}

// 200 compared sites: 180 identical, 14 transitions (8 A-G, 6 C-T) and 6 transversions
// (2 A-C, 1 A-T, 2 C-G, 1 G-T), as the site pass leaves them.
const double kMatrix[4][4] = {{45, 1, 3, 0}, {1, 50, 1, 2}, {5, 1, 48, 1}, {1, 4, 0, 37}};

// G+C: theta 0.4975, rounded to 0.5 before T3P.
PairCounts WorkedExample(bool transposed = false) {
    PairCounts c{.differences = 20, .transitions = 14, .transversions = 6, .purineTransitions = 8,
                 .pyrimidineTransitions = 6, .gcFirst = 98, .gcSecond = 101, .base = {5.5, 5, 5.5, 4}};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) c.pairMatrix[i][j] = transposed ? kMatrix[j][i] : kMatrix[i][j];
    return c;
}

// Each model on the worked example, unrounded and as the row prints it.
TEST(Models, WorkedExampleToThePrintedDigit) {
    const PairCounts counts = WorkedExample();
    const PairDistances d = DerivePairDistances(counts, 200);
    const struct {
        DistanceModel model;
        double unrounded;
        const char* printed;
    } cases[] = {
        {DistanceModel::JC, 0.107326, "0.107"},   {DistanceModel::K2P, 0.100899, "0.101"},
        {DistanceModel::TN84, 0.099901, "0.1"},   {DistanceModel::T3P, 0.108634, "0.109"},
        {DistanceModel::TN93, 0.107820, "0.108"}, {DistanceModel::LogDet, 5.990774, "5.991"},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(ModelDistance(c.model, d, counts).value_or(kNaN), c.unrounded, 1e-6) << ColumnTitle(c.model);
        EXPECT_EQ(ValueText(FinishPairRow(d, counts, 200, c.model).modelDistance), c.printed) << ColumnTitle(c.model);
    }
    EXPECT_FALSE(ModelDistance(DistanceModel::None, d, counts));
}

TEST(Models, FormulaEdges) {
    PairCounts identical;
    identical.pairMatrix[0][0] = 10;
    // Shares where each of Tajima-Nei's six pair terms moves the distance.
    const PairCounts shares{.base = {0.3, 0.2, 0.25, 0.25},
                            .pairMatrix = {{0, 0.02, 0, 0.01}, {0, 0, 0, 0.05}, {0.04, 0.015, 0, 0}, {0, 0, 0.03, 0}}};
    const struct {
        const char* what;
        Value value;
        Value expected;  // none: the formula fails
    } cases[] = {
        {"JC at p = 0.001", JukesCantorDistance(0.001), 0.0010006673},
        {"K2P with Q one half is taken at 0.499", Kimura2PDistance(0.1, 0.5), 1.3771485},
        {"T3P at theta 0.49", Tamura3PDistance(0.49, 0.07, 0.03), 0.1086363},
        {"TN84 over shares", TajimaNeiDistance(0.1, shares), 0.1123059483},
        // The orientation is part of the definition: the transposed matrix gives another distance.
        {"LogDet of the transposed matrix", LogDetDistance(WorkedExample(true), 200), 5.9906834},
        {"JC at p = 0.75", JukesCantorDistance(0.75), std::nullopt},
        {"JC of NaN", JukesCantorDistance(kNaN), std::nullopt},
        {"K2P with (1 - 2P) - Q = 0", Kimura2PDistance(0.3, 0.4), std::nullopt},
        {"K2P with (1 - 2P) - Q below 0", Kimura2PDistance(0.4, 0.3), std::nullopt},
        {"K2P with Q above one half", Kimura2PDistance(0.1, 0.6), std::nullopt},
        {"T3P with theta 0", Tamura3PDistance(0, 0.1, 0.1), std::nullopt},
        {"TN84 without composition", TajimaNeiDistance(0.1, identical), std::nullopt},
        {"TN93 without composition", TamuraNeiDistance(0.05, 0.05, 0.1, identical), std::nullopt},
        {"LogDet over no compared site", LogDetDistance(identical, 0), std::nullopt},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.value.has_value(), c.expected.has_value()) << c.what;
        if (c.expected) {
            EXPECT_NEAR(*c.value, *c.expected, 1e-7) << c.what;
        }
    }
}

// Shares over the compared length (length less the gap sites), rounded where the row rounds; the
// Ts/Tv ratio divides by 1 when there is no transversion and needs no compared site.
TEST(DerivePairDistances, SharesOverComparedLength) {
    const struct {
        PairCounts counts;
        double length;
        const char* values;  // p, P, Q, P1, P2, Ts/Tv, theta
    } cases[] = {
        {WorkedExample(), 200, "0.1 0.07 0.03 0.04 0.03 2.333 0.5"},
        {{.differences = 20, .gaps = 100, .gcFirst = 98, .gcSecond = 98}, 300, "0.1 0 0 0 0 0 0.49"},
        {{.transitions = 20}, 100, "0 0.2 0 0 0 20 0"},
        {{.transitions = 7, .transversions = 2}, 100, "0 0.07 0.02 0 0 3.5 0"},
        {{.transitions = 1, .transversions = 3}, 100, "0 0.01 0.03 0 0 0.333 0"},
        {{.gaps = 5, .transitions = 1}, 5, "NA NA NA NA NA 1 NA"},
    };
    for (const auto& c : cases) {
        const PairDistances d = DerivePairDistances(c.counts, c.length);
        std::string values;
        for (const Value* v : {&d.pDistance, &d.transitionShare, &d.transversionShare, &d.purineTransitionShare,
                               &d.pyrimidineTransitionShare, &d.tsTvRatio, &d.gcContent})
            values += ValueText(*v) + " ";
        values.pop_back();
        EXPECT_EQ(values, c.values);
    }
}

}  // namespace
}  // namespace kadrel
