#include <gtest/gtest.h>

#include "distances/PairRow.h"
#include "distances/TextbookModels.h"

namespace kadrel {
namespace {

// By hand. Shares over all 50 definite bases, the gap columns' two included: A 0.4, C G T 0.2,
// sum of squares 0.28. 24 compared sites, one A-G, C-T, A-C, G-T each (either way round):
// p = 1/6, every x = 1/24. h = (1/576)(1/0.16 + 1/0.08 + 1/0.16 + 1/0.08) = 37.5/576,
// p^2/h = 32/75, b = (1 - 0.28 + 32/75) / 2 = 43/75, d = -b ln(1 - p/b) = -(43/75) ln(61/86) = 0.1969248.
TEST(TextbookModels, TajimaNeiWorkedByHandReplacesOnlyTheModelColumn) {
    const AlignedPair pair{"AAAAAAAACCCCGGGGTTTTGTAGA-", "AAAAAAAACCCCGGGGTTTTACCT-A", 26, "s1", "s2", true, ""};
    EXPECT_NEAR(TextbookDistance(DistanceModel::TN84, CountDefiniteSites(pair)).value_or(0), 0.1969248, 1e-7);
    const PairRow row = ComputePairRow(pair, DistanceModel::TN84, true);
    PairRow classic = ComputePairRow(pair, DistanceModel::TN84);
    EXPECT_NE(classic.modelDistance, row.modelDistance);
    classic.modelDistance = 0.197;
    EXPECT_EQ(PairRowText("", "", row, DistanceModel::TN84, "."), PairRowText("", "", classic, DistanceModel::TN84, "."));
}

}  // namespace
}  // namespace kadrel
