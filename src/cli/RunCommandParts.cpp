#include "cli/RunCommandParts.h"

#include <new>
#include <tuple>

#include "calc/Shard.h"
#include "cli/Commands.h"

namespace kadrel::cli {

void AddJobsOption(CLI::App& command, unsigned& jobs) {
    command.add_option("-j,--jobs", jobs,
                       "Pairs aligned at once (default: one per core; with t_coffee at most 16, and as many as "
                       "fit in memory)")
        ->check(CLI::Range(1u, 64u));
}

void AddVerboseFlag(CLI::App& command, bool& verbose) {
    command.add_flag("-v,--verbose", verbose,
                     "Show every record warning (by default they are counted in one line at the end)");
}

CLI::Option* AddShardOption(CLI::App& command, std::string& shard, const std::string& help) {
    return command.add_option("--shard", shard, help)
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                return ParseShard(text) ? "" : "'" + text + "' is not K/N (whole numbers, 1 <= K <= N)";
            },
            "K/N"));
}

void AddReuseOptions(CLI::App& command, std::size_t& reuseLimit, bool& noReuse) {
    auto* limit = command.add_option("--reuse-limit", reuseLimit,
                                     "Results kept for pairs of sequences seen before, reused rather than aligned again")
                      ->capture_default_str();
    command.add_flag("--no-reuse", noReuse, "Align every pair, even one of two sequences aligned before")->excludes(limit);
}

void ApplyShard(const std::string& shard, std::size_t set1Count, RunOptions& run) {
    if (shard.empty()) return;
    const Shard slice = *ParseShard(shard);
    std::tie(run.set1Begin, run.set1End) = ShardRecords(slice, set1Count);
    run.shardIndex = slice.index;
    run.shardCount = slice.count;
}

int RunReportingFailure(const std::function<int()>& run) {
    try {
        return run();
    } catch (const std::bad_alloc&) {
        return Fail("out of memory; the run was stopped");
    } catch (const std::exception& e) {
        return Fail(std::string(e.what()) + "; the run was stopped");
    }
}

}  // namespace kadrel::cli
