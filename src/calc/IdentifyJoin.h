#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/IdentifyFiles.h"
#include "calc/ShardOrder.h"

namespace kadrel {

// Joins the summaries (and hits files) of the shards of one `kadrel identify --shard K/N` run,
// given in shard order, into the tables one whole run writes: its comment line and titles, then
// every shard's lines. The files are streamed, never held whole.
class IdentifyJoin {
public:
    // `whole`: the shape of the whole run's tables, its comment line and every query id;
    // `rule`: its comment line less the tag; `run`: its RunFingerprint. `hits` empty: summaries
    // only; otherwise one a summary. Checks every file before anything is written: throws
    // MergeError, naming the file, for one that is not a table of this command, a shard of
    // another run (other sets, order, taxonomy, rule, aligner or model), one cut short, stopped or
    // killed, and for shards missing, repeated or out of order.
    IdentifyJoin(std::vector<std::filesystem::path> summaries, std::vector<std::filesystem::path> hits,
                 const IdentifyTablesShape& whole, std::string_view rule, const std::string& run);

    std::size_t Queries() const { return queries_; }
    std::uint64_t Hits() const { return hits_; }

    // The shards' lines after their headers, a block at a time: the summaries' to `summary`, the
    // hits files' to `hits`. Throws MergeError when a file can no longer be read.
    using Writer = std::function<void(std::string_view)>;
    void Write(const Writer& summary, const Writer& hits) const;

private:
    std::vector<std::filesystem::path> summaries_, hitsFiles_;
    std::vector<std::uint64_t> summaryStarts_, hitsStarts_;  // the bytes of each file's header
    std::size_t queries_ = 0;
    std::uint64_t hits_ = 0;
};

}  // namespace kadrel
