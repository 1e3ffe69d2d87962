#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <tuple>
#include <vector>

#include "calc/Shard.h"

namespace kadrel {
namespace {

TEST(ShardRecordsTest, FromFloorOfKMinusOneTimesNOverTheShardsToFloorOfKTimesNOverTheShards) {
    using Slice = std::pair<std::size_t, std::size_t>;
    constexpr std::size_t most = std::numeric_limits<std::size_t>::max();
    const std::vector<std::tuple<Shard, std::size_t, Slice>> cases = {
        {{1, 1}, 5, {0, 5}}, {{1, 3}, 5, {0, 1}}, {{2, 3}, 5, {1, 3}}, {{3, 3}, 5, {3, 5}}, {{2, 4}, 6, {1, 3}},
        {{4, 7}, 5, {2, 2}}, {{7, 7}, 5, {4, 5}}, {{1, 2}, 0, {0, 0}},
        {{most - 1, most}, most, {most - 2, most - 1}},  // K·n beyond 64 bits
    };
    for (const auto& [shard, records, slice] : cases)
        EXPECT_EQ(ShardRecords(shard, records), slice) << shard.index << "/" << shard.count << " of " << records;
}

}  // namespace
}  // namespace kadrel
