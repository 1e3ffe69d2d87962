#include <signal.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "align/tcoffee/TCoffeeAligner.h"
#include "calc/PairsAtOnce.h"
#include "calc/ReportHeader.h"
#include "calc/ResumePoint.h"
#include "align/TextFile.h"
#include "calc/RunComparison.h"
#include "calc/SequenceSet.h"
#include "cli/AlignerChoice.h"
#include "cli/Commands.h"
#include "cli/ConsoleSink.h"
#include "cli/ModelOption.h"
#include "cli/OutputSafety.h"
#include "cli/ReportOutput.h"
#include "cli/RunCommandParts.h"
#include "cli/SignalStop.h"
#include "cli/TableSink.h"
#include "distances/NumberText.h"

namespace kadrel::cli {
namespace {

struct CompareOptions {
    std::string set1, set2;
    std::string model = "none";
    bool textbook = false;
    std::string output;
    std::string backup = "query.bak";
    bool noBackup = false;
    unsigned jobs = 0;  // 0: the default
    std::string aligner = "t_coffee";
    std::string shard;  // K/N; empty: the whole of set 1
    unsigned alignerTimeout = static_cast<unsigned>(TCoffeeAligner::kDefaultTimeLimit.count());
    unsigned best = 1;
    bool ties = false;
    bool verbose = false;
    std::string table, matrix;
    std::size_t reuseLimit = kDefaultReuseLimit;
    bool noReuse = false;
    bool resume = false;
};

// The run the command line asks for; a notice about the pairs at once goes to standard error.
RunOptions MakeRunOptions(const CompareOptions& options, DistanceModel model, const SequenceSet& set1,
                          const SequenceSet& set2, bool tcoffee) {
    RunOptions run;
    run.model = model;
    run.textbook = options.textbook;
    run.decimalSeparator = LocaleDecimalSeparator();
    run.bannerDate = LocaleShortDateTime();
    run.bestCount = options.best;
    run.bestTies = options.ties;
    const PairsAtOnce pairsAtOnce = ChoosePairsAtOnce(set1, set2, tcoffee, options.jobs);
    if (!pairsAtOnce.notice.empty()) std::cerr << "kadrel: " << pairsAtOnce.notice << "\n";
    run.concurrentPairs = pairsAtOnce.pairs;
    run.alignerName = options.aligner;
    ApplyShard(options.shard, set1.count, run);
    if (!options.noBackup) run.backupFile = options.backup;
    run.reuseLimit = options.noReuse ? 0 : options.reuseLimit;
    return run;
}

int RunCompare(const CompareOptions& options) {
    const DistanceModel model = *ParseModelName(options.model);
    SequenceSet set1, set2;
    try {
        set1 = ReadSequenceSet(1, options.set1);
        set2 = ReadSequenceSet(2, options.set2);
        RequireRecords(set1);
        RequireRecords(set2);
    } catch (const SetError& e) {
        return Fail(e.what());
    }
    if (const auto problem = OutputProblem(set1, set2, options.output, options.noBackup ? "" : options.backup))
        return Fail(*problem);
    if (const auto problem = TableFilesProblem(set1, set2, options.table, options.matrix,
                                               {options.output, options.noBackup ? "" : options.backup}))
        return Fail(*problem);

    const bool tcoffee = options.aligner == "t_coffee";
    ChosenAligner chosen =
        ChooseAligner(options.aligner, std::chrono::seconds(options.alignerTimeout), set1, set2);
    if (!chosen.aligner) return Fail(chosen.problem);
    Aligner* const aligner = chosen.aligner.get();
    PairHmmAligner* const pairhmm = chosen.pairhmm;

    RunOptions run = MakeRunOptions(options, model, set1, set2, tcoffee);
    // Read and checked before the output is opened: a refused resume writes nothing.
    std::optional<ResumePoint> resume;
    if (options.resume) {
        if (options.noBackup) return Fail("--resume goes on from the backup, so it cannot be used with --no-backup");
        std::string error;
        const auto text = ReadWholeFile(options.backup, error);
        if (!text) return Fail("--resume: there is no backup \"" + options.backup + "\" to go on from (" + error + ")");
        try {
            resume = ReadResumePoint(*text, options.backup, set1, set2, run);
        } catch (const ResumeError& e) {
            return Fail(e.what());
        }
        run.resume = &*resume;
    }

    ReportOutput out(options.output);
    if (out.Failed()) return Fail(out.Problem());

    std::stop_source stop;
    StopOnSignals(stop);
    ConsoleSink console(out, stop, options.verbose);
    TableSink sink(console, stop);
    if (const auto problem = sink.Open(options.table, options.matrix, model)) return Fail(*problem);


    const RunSummary summary = RunComparison(set1, set2, run, *aligner, sink, stop.get_token());
    const auto tablesProblem = sink.Finish();
    out.Close();
    console.ClearProgress();
    // As other tools do when their reader goes (`| head`): quietly, with the status of SIGPIPE.
    if (out.ReaderGone()) return 128 + SIGPIPE;
    if (out.Failed()) return Fail(out.Problem());
    if (tablesProblem) return Fail(*tablesProblem);

    if (const std::string line = console.RecordWarningsLine(); !line.empty()) std::cerr << line << "\n";
    std::string more = pairhmm ? std::to_string(pairhmm->PairsSentToTCoffee()) + " aligned by t_coffee" : "";
    if (const std::string skipped = summary.SkippedText(); !skipped.empty()) more += (more.empty() ? "" : ", ") + skipped;
    std::cerr << "kadrel: " << ClosingSummary(summary, more) << "\n";
    if (summary.stopped) return kStoppedStatus;
    return summary.pairsFailed == 0 ? 0 : 1;
}

}  // namespace

CommandRunner AddCompareCommand(CLI::App& app) {
    auto options = std::make_shared<CompareOptions>();
    CLI::App* command = app.add_subcommand(
        "compare", "Compare every record of SET1 with every record of SET2 and write the report");
    command->add_option("SET1", options->set1, "A folder (one record per file) or a multiple-sequence file")
        ->required();
    command->add_option("SET2", options->set2, "A folder or a multiple-sequence file")->required();
    AddModelOption(*command, options->model);
    AddTextbookOption(*command, options->textbook);
    command->add_option("-o,--output", options->output, "The report file (default: standard output)");
    auto* backup = command->add_option("--backup", options->backup,
                                       "The backup: the report so far, after every set-1 record")
                       ->capture_default_str();
    command->add_flag("--no-backup", options->noBackup, "Write no backup")->excludes(backup);
    AddJobsOption(*command, options->jobs);
    AddAlignerOptions(*command, options->aligner, options->alignerTimeout);
    command->add_option("--best", options->best, "Best matches listed per set-1 record")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                return text.find_first_not_of("0123456789") == std::string::npos &&
                               text.find_first_not_of('0') != std::string::npos
                           ? ""
                           : "'" + text + "' is not a number of best matches: give 1 or more";
            },
            "N"))
        ->capture_default_str();
    command->add_flag("--ties", options->ties, "Also list every match tied with the last one listed");
    AddVerboseFlag(*command, options->verbose);
    command->add_option("--table", options->table, "Also write every pair to FILE as a plain table");
    command->add_option("--matrix", options->matrix, "Also write the distances to FILE as a set-1 x set-2 table");
    AddShardOption(*command, options->shard, "Only the K-th of N slices of SET1, for 'kadrel merge'");
    AddReuseOptions(*command, options->reuseLimit, options->noReuse);
    command->add_flag("--resume", options->resume,
                      "Go on from the backup of this same command, killed or stopped before its end: only what "
                      "the backup does not hold is aligned");
    return [options] { return RunReportingFailure([&] { return RunCompare(*options); }); };
}

}  // namespace kadrel::cli
