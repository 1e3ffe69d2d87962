#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include <CLI/CLI.hpp>

#include "calc/RunComparison.h"

// What every subcommand that runs a comparison shares on its command line, so that its options
// read and behave alike.
namespace kadrel::cli {

void AddJobsOption(CLI::App& command, unsigned& jobs);
void AddVerboseFlag(CLI::App& command, bool& verbose);
// --shard K/N, refused at once when it is not K/N.
CLI::Option* AddShardOption(CLI::App& command, std::string& shard, const std::string& help);

// --reuse-limit N and --no-reuse, which exclude each other.
void AddReuseOptions(CLI::App& command, std::size_t& reuseLimit, bool& noReuse);

// The slice of set 1 that a checked --shard names; nothing when it is empty.
void ApplyShard(const std::string& shard, std::size_t set1Count, RunOptions& run);

// Runs a comparison so that what it throws ends it with a message: unwinding stops the run and
// removes its work folder, where an escaping exception would leave both behind.
int RunReportingFailure(const std::function<int()>& run);

}  // namespace kadrel::cli
