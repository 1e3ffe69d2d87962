#pragma once
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

namespace kadrel {

// The K-th (from 1) of N contiguous slices of set 1: a job of its own, whose report rows and
// best-match lines are those of the same records in the whole run.
struct Shard {
    std::size_t index = 1;
    std::size_t count = 1;
};

// "K/N" with 1 <= K <= N, both plain decimal numbers; no value for anything else.
std::optional<Shard> ParseShard(std::string_view text);

// The set-1 positions [first, last) of the shard among `records`: floor((K-1)·n/N) to
// floor(K·n/N), so the shards cover every record once, in order, and differ in size by one at most.
std::pair<std::size_t, std::size_t> ShardRecords(Shard shard, std::size_t records);

}  // namespace kadrel
