#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <stdexcept>
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
// A stopped run writes, in place of the end line, the line a stopped report ends in ("Stopped
// before the end: N of M pairs compared"); a killed one neither. A whole run's backup has the same
// form, its first line ending in "[run HEX]". Distances are written in the shortest form that
// reads back as the same number.
std::string GapPairsHeader(std::string_view about, std::string_view tag);
std::string GapShardHeader(std::string_view about, const ShardTag& tag);
std::string GapShardLine(std::size_t record, std::string_view id, const std::vector<double>& later);
std::string GapShardEnd(std::size_t records);
std::string GapShardStopped(std::size_t pairsDone, std::size_t pairsInRun);
// Whether a text begins as a pairs file or a backup of `kadrel gap` does.
bool StartsAsGapPairs(std::string_view text);

// A line of a pairs file that is not what it should be there; the message does not name the file.
class GapPairsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How the record lines after a pairs file's first line end.
struct GapPairLines {
    std::size_t records = 0;  // whole record lines read
    std::uint64_t bytes = 0;  // where the last of them ends, from the file's start
    bool ended = false;       // the end line followed the last record
    std::string stopped;      // the stopped line, when one followed the records read
    bool cutShort = false;    // the file ends in a line without its line end, left unread
};
// Receives each record's distances to the later records (NaN for NA, infinity for a pair not
// compared) and its line as written, without its line end.
using GapRowReader = std::function<void(std::size_t record, const std::vector<double>& later, std::string_view line)>;

// Reads the lines of records first to last - 1 of a library of `ids`, stopping early at the end of
// the file or at a stopped line. Throws GapPairsError for a line that is not the record's or not
// one GapShardLine writes, a wrong end line, or anything after the end or stopped line.
GapPairLines ReadGapPairLines(std::istream& in, const std::vector<std::string>& ids, std::size_t first,
                              std::size_t last, const GapRowReader& take);

struct GapJoinSummary {
    std::size_t pairs = 0;   // cells read
    std::size_t failed = 0;  // of them NA
};

// Offers record r's distances to the later records to `analysis` as a run offers them: every pair
// with a distance, in the partner's order. Counts them in `summary`.
void OfferGapRow(GapAnalysis& analysis, std::size_t r, const std::vector<double>& later, GapJoinSummary& summary);

// Reads the shards, given in shard order, into `analysis` and `rows` in the order one whole run
// would have given them the same pairs. `run` is the fingerprint the shards must carry, `about`
// what the join was given, for the message when they do not. Throws MergeError, naming the file,
// for a file that is not a gap shard, is cut short or was stopped, is of another run or library,
// or comes repeated or out of order, and when a shard is missing.
GapJoinSummary JoinGapShards(const std::vector<std::filesystem::path>& shards, const std::string& run,
                             std::string_view about, GapAnalysis& analysis, const GapSink::RowReceiver& rows);

}  // namespace kadrel
