#include <gtest/gtest.h>

#include "ui/RunProgressText.h"

namespace kadrel::ui {
namespace {

// The time left is the time per pair so far times the pairs left (with one of two pairs done, the
// time so far); seconds are rounded up, minutes to the nearest.
TEST(RunProgressText, EstimatesTheTimeLeftFromThePairsDone) {
    struct Case {
        std::size_t done, total;
        long long elapsedMs;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0, 10, 5000, "0 / 10 pairs"}, {10, 10, 99000, "10 / 10 pairs"}, {0, 0, 0, "0 / 0 pairs"},
        {5, 10, 50000, "5 / 10 pairs, about 50 s left"}, {1, 3, 300, "1 / 3 pairs, about 1 s left"},
        {1, 2, 59000, "1 / 2 pairs, about 59 s left"}, {1, 2, 59001, "1 / 2 pairs, about 1 min left"},
        {1, 2, 89000, "1 / 2 pairs, about 1 min left"}, {1, 2, 90000, "1 / 2 pairs, about 2 min left"},
        {1, 2, 3569000, "1 / 2 pairs, about 59 min left"}, {1, 2, 3570000, "1 / 2 pairs, about 1 h 00 min left"},
        {1, 100, 60000, "1 / 100 pairs, about 1 h 39 min left"}, {1, 2, 7500000, "1 / 2 pairs, about 2 h 05 min left"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunProgressText(c.done, c.total, std::chrono::milliseconds(c.elapsedMs)).toStdString(), c.expected)
            << c.elapsedMs;
}

}  // namespace
}  // namespace kadrel::ui
