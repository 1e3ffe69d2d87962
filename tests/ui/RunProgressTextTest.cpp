#include <gtest/gtest.h>

#include "ui/RunProgressText.h"

namespace kadrel::ui {
namespace {

using std::chrono::milliseconds;

TEST(RunProgressText, EstimatesTheTimeLeftFromThePairsDone) {
    struct Case {
        std::size_t done, total;
        long long elapsedMs;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0, 10, 5000, "0 / 10 pairs"}, {5, 10, 50000, "5 / 10 pairs, about 50 s left"},
        {1, 3, 300, "1 / 3 pairs, about 1 s left"}, {1, 13, 15000, "1 / 13 pairs, about 3 min left"},
        {1, 100, 60000, "1 / 100 pairs, about 1 h 39 min left"}, {10, 10, 99000, "10 / 10 pairs"},
        {0, 0, 0, "0 / 0 pairs"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunProgressText(c.done, c.total, milliseconds(c.elapsedMs)).toStdString(), c.expected) << c.done;
}

// Seconds are rounded up, minutes to the nearest.
TEST(RunProgressText, Durations) {
    const std::vector<std::pair<long long, const char*>> cases = {
        {1, "1 s"}, {59000, "59 s"}, {59001, "1 min"}, {89000, "1 min"}, {90000, "2 min"},
        {3569000, "59 min"}, {3570000, "1 h 00 min"}, {7500000, "2 h 05 min"},
    };
    for (const auto& [ms, expected] : cases) EXPECT_EQ(DurationText(milliseconds(ms)).toStdString(), expected) << ms;
}

}  // namespace
}  // namespace kadrel::ui
