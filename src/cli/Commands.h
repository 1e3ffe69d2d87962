#pragma once
#include <CLI/CLI.hpp>

namespace kadrel::cli {

// Each subcommand registers itself on the app and keeps its own options; the returned
// callable runs it and gives the process's exit status.
using CommandRunner = std::function<int()>;

// Says on standard error why a command cannot be done, and gives its exit status (2).
int Fail(const std::string& message);

CommandRunner AddDistanceCommand(CLI::App& app);
CommandRunner AddCompareCommand(CLI::App& app);
CommandRunner AddMergeCommand(CLI::App& app);
CommandRunner AddPlotCommand(CLI::App& app);
CommandRunner AddAlignCommand(CLI::App& app);
CommandRunner AddIdentifyCommand(CLI::App& app);
CommandRunner AddGapCommand(CLI::App& app);

}  // namespace kadrel::cli
