#include <signal.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calc/ReportMerge.h"
#include "cli/Commands.h"
#include "cli/OutputSafety.h"
#include "cli/ReportOutput.h"

namespace kadrel::cli {
namespace {

struct MergeOptions {
    std::vector<std::string> reports;
    std::string output;
};

int RunMerge(const MergeOptions& options) {
    for (const auto& report : options.reports) {
        if (!options.output.empty() && SameFile(options.output, report))
            return Fail("the output \"" + options.output + "\" would overwrite the report \"" + report +
                        "\"; choose another file");
    }
    try {
        const ReportMerge merge({options.reports.begin(), options.reports.end()});
        ReportOutput out(options.output);
        if (out.Failed()) return Fail(out.Problem());
        merge.Write([&](std::string_view text) { out.Write(text); });
        out.Close();
        // As compare does when its reader goes (`| head`): quietly, with the status of SIGPIPE.
        if (out.ReaderGone()) return 128 + SIGPIPE;
        if (out.Failed()) return Fail(out.Problem());
        const MergeSummary& summary = merge.Summary();
        std::cerr << "kadrel: " << summary.pairs << " pairs merged from " << options.reports.size() << " reports, "
                  << summary.pairsWithNA << " failed\n";
        return summary.pairsWithNA == 0 ? 0 : 1;
    } catch (const MergeError& e) {
        return Fail(e.what());
    }
}

}  // namespace

CommandRunner AddMergeCommand(CLI::App& app) {
    auto options = std::make_shared<MergeOptions>();
    CLI::App* command = app.add_subcommand(
        "merge", "Join the reports of 'kadrel compare --shard' runs, given in shard order, into one report");
    command->add_option("REPORT", options->reports, "Shard reports, 1/N first")->required();
    command->add_option("-o,--output", options->output, "The merged report (default: standard output)");
    return [options] { return RunMerge(*options); };
}

}  // namespace kadrel::cli
