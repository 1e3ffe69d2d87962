#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "align/BuiltinAligner.h"
#include "align/TCoffeeAligner.h"
#include "calc/ReportHeader.h"
#include "calc/RunComparison.h"
#include "calc/SequenceSet.h"
#include "cli/Commands.h"
#include "cli/ConsoleSink.h"
#include "cli/ModelOption.h"
#include "cli/OutputSafety.h"
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
    unsigned jobs = 0;  // 0: one per core
    std::string aligner = "t_coffee";
    unsigned best = 1;
    bool ties = false;
    std::string table, matrix;
};

int Fail(const std::string& message) {
    std::cerr << "kadrel: " << message << "\n";
    return 2;
}

int RunCompare(const CompareOptions& options) {
    const DistanceModel model = *ParseModelName(options.model);
    SequenceSet set1, set2;
    try {
        set1 = ReadSequenceSet(1, options.set1);
        set2 = ReadSequenceSet(2, options.set2);
    } catch (const SetError& e) {
        return Fail(e.what());
    }
    if (const auto problem = OutputProblem(set1, set2, options.output, options.noBackup ? "" : options.backup))
        return Fail(*problem);
    if (const auto problem = TableFilesProblem(set1, set2, options.table, options.matrix,
                                               {options.output, options.noBackup ? "" : options.backup}))
        return Fail(*problem);

    std::unique_ptr<Aligner> aligner;
    if (options.aligner == "builtin") aligner = std::make_unique<BuiltinAligner>();
    else aligner = std::make_unique<TCoffeeAligner>();
    if (const auto message = aligner->CheckAvailable(); !message.empty()) return Fail(message);

    std::ofstream file;
    if (!options.output.empty()) {
        file.open(options.output, std::ios::binary | std::ios::trunc);
        if (!file) return Fail("cannot write the output \"" + options.output + "\"");
    }
    std::ostream& out = options.output.empty() ? std::cout : file;

    for (const auto* set : {&set1, &set2}) {
        if (set->count != 0) continue;
        const auto& path = set->side == 1 ? options.set1 : options.set2;
        std::cerr << "kadrel: warning: set " << set->side << " \"" << path << "\" holds no records\n";
    }

    std::stop_source stop;
    StopOnSignals(stop);
    std::optional<BackupWriter> backup;
    if (!options.noBackup) backup.emplace(options.backup);
    ConsoleSink console(out, std::move(backup), stop);
    TableSink sink(console, stop);
    if (const auto problem = sink.Open(options.table, options.matrix, model)) return Fail(*problem);

    RunOptions run;
    run.model = model;
    run.textbook = options.textbook;
    run.decimalSeparator = LocaleDecimalSeparator();
    run.bannerDate = LocaleShortDateTime();
    run.bestCount = options.best;
    run.bestTies = options.ties;
    run.concurrentPairs = options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());

    const RunSummary summary = RunComparison(set1, set2, run, *aligner, sink, stop.get_token());
    const auto tablesProblem = sink.Finish();
    out.flush();
    console.ClearProgress();
    if (!out) return Fail("writing the output failed");
    if (tablesProblem) return Fail(*tablesProblem);

    std::cerr << "kadrel: " << summary.pairsCompared << " pairs compared, " << summary.pairsFailed
              << " failed" << (summary.stopped ? ", stopped" : "") << "\n";
    if (summary.stopped) return 130;
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
    command->add_option("-j,--jobs", options->jobs, "Pairs aligned at once (default: one per core)")
        ->check(CLI::Range(1u, 64u));
    command->add_option("-a,--aligner", options->aligner, "t_coffee (the external program) or builtin (in-process)")
        ->check(CLI::IsMember({"t_coffee", "builtin"}))
        ->capture_default_str();
    command->add_option("--best", options->best, "Best matches listed per set-1 record")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    command->add_flag("--ties", options->ties, "Also list every match tied with the last one listed");
    command->add_option("--table", options->table, "Also write every pair to FILE as a plain table");
    command->add_option("--matrix", options->matrix, "Also write the distances to FILE as a set-1 x set-2 table");
    return [options] { return RunCompare(*options); };
}

}  // namespace kadrel::cli
