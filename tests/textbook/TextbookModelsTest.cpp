#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "distances/PairRow.h"
#include "distances/TextbookModels.h"
#include "sites/DefiniteSites.h"

namespace kadrel {
namespace {

using M = DistanceModel;

AlignedPair Pair(const std::string& a, const std::string& b) {
    return {a, b, static_cast<double>(a.size()), "s1", "s2", true, ""};
}

double Textbook(M model, const AlignedPair& pair) {
    return TextbookDistance(model, CountDefiniteSites(pair)).value_or(std::nan(""));
}

// Each base pair listed once in either direction, then `repeats` identical ACGT: both sequences of
// one composition, equal base shares where every base is listed equally often.
AlignedPair Balanced(std::initializer_list<const char*> pairs, int repeats) {
    std::string a, b;
    for (const char* xy : pairs) a += {xy[0], xy[1]}, b += {xy[1], xy[0]};
    for (int i = 0; i < repeats; ++i) a += "ACGT", b += "ACGT";
    return Pair(a, b);
}

// By hand. Shares over all 50 definite bases, the gap columns' two included: A 0.4, C G T 0.2,
// sum of squares 0.28. 24 compared sites, one A-G, C-T, A-C, G-T each: p = 1/6, every x = 1/24.
// h = (1/576)(1/0.16 + 1/0.08 + 1/0.16 + 1/0.08) = 37.5/576, p^2/h = 32/75,
// b = (1 - 0.28 + 32/75) / 2 = 43/75, d = -b ln(1 - p/b) = -(43/75) ln(61/86) = 0.1969248.
TEST(TextbookModels, TajimaNeiWorkedByHandChangesOnlyTheModelColumn) {
    const AlignedPair pair = Pair("AAAAAAAACCCCGGGGTTTTACAGA-", "AAAAAAAACCCCGGGGTTTTGTCT-A");
    EXPECT_NEAR(Textbook(M::TN84, pair), 0.1969248, 1e-7);
    const PairRow row = ComputePairRow(pair, M::TN84, true);
    EXPECT_EQ(row.modelDistance, 0.197);
    PairRow classic = ComputePairRow(pair, M::TN84);
    EXPECT_NE(classic.modelDistance, row.modelDistance);
    classic.modelDistance = row.modelDistance;
    EXPECT_EQ(PairRowText("a", "b", classic, M::TN84, "."), PairRowText("a", "b", row, M::TN84, "."));
}

// Where two published forms coincide; a wrong term in either breaks the equality.
TEST(TextbookModels, FormsReduceToTheSimplerOnesWhereTheyCoincide) {
    struct Case { M model, reducesTo; AlignedPair pair; };
    const Case cases[] = {
        {M::K2P, M::JC, Balanced({"AG", "AC", "GT"}, 4)},                    // transitions = transversions / 2
        {M::T3P, M::K2P, Balanced({"AG", "CT", "AT", "CG"}, 3)},             // G+C 0.5
        {M::TN93, M::K2P, Balanced({"AG", "CT", "AC", "GT"}, 5)},            // equal shares, A-G = C-T
        {M::TN84, M::JC, Balanced({"AC", "AG", "AT", "CG", "CT", "GT"}, 6)}, // equal shares, equal x
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ModelName(c.model));
        const double d = Textbook(c.model, c.pair);
        EXPECT_GT(d, 0.1);
        EXPECT_NEAR(d, Textbook(c.reducesTo, c.pair), 1e-12);
    }
}

TEST(TextbookModels, WhatIsComparedAndWhatCannotBeComputed) {
    // Lower case reads as bases; gap, N and R sites are not compared but their bases are counted.
    const DefiniteSites s = CountDefiniteSites(Pair("AcN-gR", "aCGTg-"));
    EXPECT_EQ(s.Compared(), 3);
    EXPECT_EQ(s.bases[BaseG], 3);
    EXPECT_EQ(s.bases[BaseT], 1);
    for (int m = 1; m <= 6; ++m) {
        SCOPED_TRACE(m);
        EXPECT_NEAR(Textbook(M(m), Balanced({}, 3)), 0, 1e-12);  // identical, equal composition
        EXPECT_TRUE(std::isnan(Textbook(M(m), Pair("AC--", "--GT"))));  // nothing compared
    }
    EXPECT_NEAR(Textbook(M::LogDet, Pair("AACGT", "AACGT")), -std::log(0.0032) / 4 - std::log(4), 1e-12);
    EXPECT_TRUE(std::isnan(Textbook(M::JC, Pair("ACGT", "CATG"))));  // p = 1: no logarithm
    EXPECT_FALSE(ComputePairRow(Pair("ACGT", "CATG"), M::JC, true).modelDistance);
}

}  // namespace
}  // namespace kadrel
