#include <gtest/gtest.h>

#include <string>

#include "distances/PairRow.h"
#include "distances/TextbookModels.h"

namespace kadrel {
namespace {

// By hand. Shares over all 50 definite bases, the gap columns' two included: A 0.4, C G T 0.2,
// sum of squares 0.28. 24 compared sites, one A-G, C-T, A-C, G-T each (either way round):
// p = 1/6, every x = 1/24. h = (1/576)(1/0.16 + 1/0.08 + 1/0.16 + 1/0.08) = 37.5/576,
// p^2/h = 32/75, b = (1 - 0.28 + 32/75) / 2 = 43/75, d = -b ln(1 - p/b) = -(43/75) ln(61/86) = 0.1969248.
TEST(TextbookModels, TajimaNeiWorkedByHand) {
    const AlignedPair pair{"AAAAAAAACCCCGGGGTTTTGTAGA-", "AAAAAAAACCCCGGGGTTTTACCT-A", 26, "s1", "s2", true, ""};
    EXPECT_NEAR(TextbookDistance(DistanceModel::TN84, CountDefiniteSites(pair)).value_or(0), 0.1969248, 1e-7);
    const PairRow row = ComputePairRow(pair, DistanceModel::TN84, true);
    EXPECT_EQ(PairRowText("", "", row, DistanceModel::TN84, "."), "\t\t24\t4\t0.167\t2\t2\t2\t1\t0.197\r\n");
}

AlignedPair Pair(std::string first, std::string second) {
    const auto length = static_cast<double>(first.size());
    return AlignedPair{std::move(first), std::move(second), length, "", "", true, ""};
}

// The sites each mode counts: the classic row keeps N and other unknown characters as identical
// sites and weighs an ambiguity code in the second sequence; the published one counts only sites
// where both hold A, C, G or T, as ape's raw distance with pairwise deletion, its model column
// from the same sites. A query 12 differences (6 transitions) from refA over 657 sites, and 8 from
// refB, whose first 400 sites are N: refB ranks first by the classic p, refA by the published p.
TEST(TextbookRow, SitesCountedInEachMode) {
    std::string query;
    while (query.size() < 657) query += "ACGTTGCA";
    query.resize(657);
    std::string refA = query, refB = std::string(400, 'N') + query.substr(400);
    const auto change = [](std::string& s, std::size_t at, bool transition) {
        s[at] = std::string(transition ? "GTAC" : "CATG")[std::string("ACGT").find(s[at])];
    };
    for (std::size_t k = 1; k <= 12; ++k) change(refA, 400 + 10 * k, k % 2 == 0);
    for (std::size_t k = 1; k <= 8; ++k) change(refB, 400 + 10 * k, k % 2 == 0);
    const struct {
        AlignedPair pair;
        DistanceModel model;
        std::string classic, textbook;
    } cases[] = {
        {Pair(query, refA), DistanceModel::None, "657\t12\t0.018\t0\t6\t6\t1", "657\t12\t0.018\t0\t6\t6\t1"},
        {Pair(query, refB), DistanceModel::None, "657\t8\t0.012\t0\t4\t4\t1", "257\t8\t0.031\t0\t4\t4\t1"},
        // Sites: same, A-G, same, A-Y, G-N, same, T-t, same, gap, gap, C-T, same, R-A.
        {Pair("AACAGGTTA-CGR", "AGCYNGtT-CTGA"), DistanceModel::JC, "13\t3\t0.273\t2\t2\t1\t2\t0.339",
         "8\t2\t0.25\t2\t2\t0\t2\t0.304"},
        {Pair("AC--", "--GT"), DistanceModel::K2P, "4\t0\tNA\t4\t0\t0\t0\tNA", "0\t0\tNA\t4\t0\t0\t0\tNA"},
    };
    for (const auto& c : cases) {
        for (const bool textbook : {false, true}) {
            const PairRow row = ComputePairRow(c.pair, c.model, textbook);
            EXPECT_EQ(PairRowText("q", "r", row, c.model, "."), "q\tr\t" + (textbook ? c.textbook : c.classic) + "\r\n")
                << c.classic << (textbook ? ", textbook" : ", classic");
        }
    }
}

}  // namespace
}  // namespace kadrel
