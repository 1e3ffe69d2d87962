#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "calc/GapAnalysis.h"
#include "calc/GapSink.h"
#include "calc/ReportHeader.h"

namespace kadrel {

// The pairs of one `kadrel gap --shard K/N`: each record of its slice with its distances to every
// later record, as the run found them, so that `gap --join` builds from all the shards the very
// tables, pictures and matrix of one whole run. Tab-separated, LF lines:
//   kadrel gap pairs: ABOUT [shard K/N of run HEX]
//   POSITION ID DISTANCE...   one line per record: its position from 1, its id, then its distance
//                             to each later record (NA: the pair failed; empty: not compared)
//   end: R records
// The end line is written only by a run that was not stopped. Distances are written in the
// shortest form that reads back as the same number.
std::string GapShardHeader(std::string_view about, const ShardTag& tag);
std::string GapShardLine(std::size_t record, std::string_view id, const std::vector<double>& later);
std::string GapShardEnd(std::size_t records);

struct GapJoinSummary {
    std::size_t pairs = 0;   // cells read
    std::size_t failed = 0;  // of them NA
};

// Reads the shards, given in shard order, into `analysis` and `rows` in the order one whole run
// would have given them the same pairs. `run` is the fingerprint the shards must carry, `about`
// what the join was given, for the message when they do not. Throws MergeError, naming the file,
// for a file that is not a gap shard, is cut short or was stopped, is of another run or library,
// or comes repeated or out of order, and when a shard is missing.
GapJoinSummary JoinGapShards(const std::vector<std::filesystem::path>& shards, const std::string& run,
                             std::string_view about, GapAnalysis& analysis, const GapSink::RowReceiver& rows);

}  // namespace kadrel
