#include <signal.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "calc/GapAnalysis.h"
#include "calc/GapSink.h"
#include "calc/GapShard.h"
#include "calc/GapTables.h"
#include "calc/IdentifyRun.h"
#include "calc/PairsAtOnce.h"
#include "calc/ResumePoint.h"
#include "calc/RunComparison.h"
#include "calc/RunFingerprint.h"
#include "calc/ShardOrder.h"
#include "calc/SequenceSet.h"
#include "calc/TaxonomyTable.h"
#include "cli/AlignerChoice.h"
#include "cli/Commands.h"
#include "cli/ConsoleSink.h"
#include "cli/GapMatrix.h"
#include "cli/GapOptions.h"
#include "cli/GapOutputs.h"
#include "cli/GapPairsRun.h"
#include "cli/ModelOption.h"
#include "cli/OutputSafety.h"
#include "cli/ReportOutput.h"
#include "cli/RunCommandParts.h"
#include "cli/SignalStop.h"
#include "distances/NumberText.h"
#include "ui/GapCharts.h"

namespace kadrel::cli {
namespace {

// Every file the run writes, with the option that names it; standard output for the species
// table when --species is not given, for a shard's pairs when --pairs is not.
std::vector<std::pair<std::string, std::string>> Outputs(const GapOptions& o) {
    auto files = o.out.Named();
    if (!o.pairs.empty()) files.emplace_back("--pairs", o.pairs);
    if (o.shard.empty() && o.join.empty() && !o.noBackup) files.emplace_back("--backup", o.backup);
    return files;
}

// Why an output would damage the user's data: the library, the taxonomy, a shard to join, or
// another output; or why the options do not go together.
std::optional<std::string> OutputsProblem(const GapOptions& options, const SequenceSet& library) {
    const auto files = Outputs(options);
    if (!options.pairs.empty() && options.shard.empty())
        return std::string("--pairs: only a --shard run writes its pairs; give --shard K/N");
    if (options.backupGiven && (!options.shard.empty() || !options.join.empty()))
        return std::string("--backup: only a whole run keeps a backup; a shard's --pairs file is what --resume goes on "
                           "from, and a join compares nothing");
    if (options.resume && !options.join.empty())
        return std::string("--resume: a join compares nothing; go on with the shard that did not finish, then join");
    if (options.resume && options.noBackup)
        return std::string("--resume goes on from the backup, so it cannot be used with --no-backup");
    if (options.resume && !options.shard.empty() && options.pairs.empty())
        return std::string("--resume: a shard goes on from its --pairs FILE; give the one the stopped run wrote");
    if (!options.shard.empty() && !options.out.Named().empty())
        return options.out.Named().front().first +
               ": a shard writes only its pairs (--pairs); give the tables and pictures to 'kadrel gap --join'";
    for (std::size_t a = 0; a < files.size(); ++a) {
        const auto& [option, file] = files[a];
        if (const auto problem = OutputProblem(library, library, file, "")) return option + ": " + *problem;
        if (!options.taxonomy.empty() && SameFile(file, options.taxonomy))
            return option + ": \"" + file + "\" is the taxonomy file; choose another output";
        for (const std::string& shard : options.join)
            if (SameFile(file, shard)) return option + ": \"" + file + "\" is a shard given to --join; choose another output";
        for (std::size_t b = 0; b < a; ++b)
            if (SameFile(file, files[b].second))
                return option + ": \"" + file + "\" is the file of " + files[b].first + " too; choose another file";
    }
    return std::nullopt;
}

// What the closing line adds about the aligner, once the run is over.
std::string AlignerText(const ChosenAligner& chosen) {
    return chosen.pairhmm ? std::to_string(chosen.pairhmm->PairsSentToTCoffee()) + " aligned by t_coffee" : "";
}

// The closing line of a shard.
int CloseShard(const GapPairsOutcome& outcome, const RunOptions& run, std::size_t records, const ChosenAligner& chosen,
               const ConsoleSink& progress) {
    if (outcome.readerGone) return 128 + SIGPIPE;
    if (outcome.problem) return Fail(*outcome.problem);
    const RunSummary& summary = outcome.summary;
    if (const std::string line = progress.RecordWarningsLine(); !line.empty()) std::cerr << line << "\n";
    std::cerr << "kadrel: " << ClosingSummary(summary, AlignerText(chosen)) << "; shard " << run.shardIndex << "/"
              << run.shardCount << ", records " << run.set1Begin + 1 << " to " << run.set1End << " of " << records
              << (summary.stopped ? ": stopped, so 'kadrel gap --join' will refuse it; go on with --resume\n"
                                  : ", for 'kadrel gap --join'\n");
    if (summary.stopped) return kStoppedStatus;
    return summary.pairsFailed == 0 ? 0 : 1;
}

int RunGap(const GapOptions& options) {
    const DistanceModel model = *ParseModelName(options.model);
    SequenceSet library;
    std::vector<RecordTaxon> taxa;
    try {
        library = ReadSequenceSet(1, options.library);
        RequireRecords(library);
        std::optional<TaxonomyTable> table;
        if (!options.taxonomy.empty()) table = TaxonomyTable::Read(options.taxonomy);
        taxa = ReadRecordTaxa(library, table ? &*table : nullptr);
    } catch (const SetError& e) {
        return Fail(e.what());
    } catch (const TaxonomyError& e) {
        return Fail(e.what());
    }
    if (const auto problem = OutputsProblem(options, library)) return Fail(*problem);
    const auto from = ParseDecimal(options.from), to = ParseDecimal(options.to), by = ParseDecimal(options.by);
    if (!from || !to || !by || by->numerator == 0 || *to < *from)
        return Fail("--from, --to and --by: give decimals with a point, --from at most --to and --by above 0");

    RunOptions run;
    run.model = model;
    run.textbook = !options.classic;
    run.laterOnly = true;
    run.alignerName = options.aligner;
    run.reuseLimit = options.noReuse ? 0 : options.reuseLimit;
    GapAnalysis analysis = NewGapAnalysis(taxa);
    std::optional<SquareMatrix> matrix;
    if (!options.out.matrix.empty()) {
        matrix.emplace(library.count);
        if (!matrix->Problem().empty()) return Fail(matrix->Problem());
    }
    const GapSink::RowReceiver rows =
        matrix ? GapSink::RowReceiver([&](std::size_t i, const std::vector<double>& later) { matrix->Row(i, later); })
               : GapSink::RowReceiver();
    RunSummary summary;
    std::string closing;
    ChosenAligner chosen;
    ReportOutput console("");  // the species table, unless --species names a file
    std::stop_source stop;
    std::optional<ConsoleSink> progress;
    if (!options.join.empty()) {
        try {
            const GapJoinSummary joined =
                JoinGapShards({options.join.begin(), options.join.end()}, RunFingerprint(library, library, run),
                              GapAbout(options), analysis, rows);
            summary.pairsFailed = joined.failed;
            closing = std::to_string(joined.pairs) + " pairs joined from " + std::to_string(options.join.size()) +
                      " shards, " + std::to_string(joined.failed) + " failed";
        } catch (const MergeError& e) {
            return Fail(e.what());
        }
    } else {
        chosen = ChooseAligner(options.aligner, std::chrono::seconds(options.alignerTimeout), library, library);
        if (!chosen.aligner) return Fail(chosen.problem);
        const PairsAtOnce pairsAtOnce = ChoosePairsAtOnce(library, library, options.aligner == "t_coffee", options.jobs);
        if (!pairsAtOnce.notice.empty()) std::cerr << "kadrel: " << pairsAtOnce.notice << "\n";
        run.concurrentPairs = pairsAtOnce.pairs;
        ApplyShard(options.shard, library.count, run);
        const std::string sweep = DecimalText(*from) + " to " + DecimalText(*to) + " by " + DecimalText(*by);
        const GapResumeFile kept = GapKeptFile(options, library, run, analysis, sweep);
        StopOnSignals(stop);
        progress.emplace(console, stop, options.verbose);
        GapPairsOutcome outcome;
        try {
            outcome = CompareGapPairs(options, library, run, chosen, analysis, matrix ? &*matrix : nullptr, kept,
                                      *progress, stop);
        } catch (const ResumeError& e) {
            return Fail(e.what());
        }
        if (!options.shard.empty()) return CloseShard(outcome, run, library.count, chosen, *progress);
        summary = outcome.summary;
        closing = ClosingSummary(summary, AlignerText(chosen));
    }

    const GapSweep sweep = SweepOf(analysis, SweepThresholds(*from, *to, *by));
    const auto problem = WriteGapOutputs(options.out, analysis, sweep, matrix ? &*matrix : nullptr, console);
    if (console.ReaderGone()) return 128 + SIGPIPE;
    if (problem) return Fail(*problem);
    if (progress)
        if (const std::string line = progress->RecordWarningsLine(); !line.empty()) std::cerr << line << "\n";
    std::cerr << "kadrel: " << closing << "; " << GapSummaryText(analysis, sweep) << "\n";
    if (summary.stopped) return kStoppedStatus;
    return summary.pairsFailed == 0 ? 0 : 1;
}

CLI::Validator Decimal() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            return ParseDecimal(text) ? "" : "'" + text + "' is not a decimal number such as 0.02 (with a point)";
        },
        "DECIMAL");
}

}  // namespace

CommandRunner AddGapCommand(CLI::App& app) {
    auto options = std::make_shared<GapOptions>();
    CLI::App* command = app.add_subcommand(
        "gap", "Check a reference library: the barcoding gap of every species, the records nearer another "
               "species, and the threshold of fewest identification errors");
    command->add_option("LIBRARY", options->library, "The library: a folder or a multiple-sequence file")->required();
    AddModelOption(*command, options->model);
    command->add_flag("--classic", options->classic,
                      "Kadrel's classic formulas for the distance (by default the published ones)");
    command->add_option("--taxonomy", options->taxonomy,
                        "A tab-separated table of lineages by record id (columns named by rank), over the headers'");
    command->add_option("--species", options->out.species,
                        "The species table (default: standard output)");
    command->add_option("--specimens", options->out.specimens, "Also write one line per record to FILE");
    command->add_option("--sweep", options->out.sweep, "Also write the identification errors per threshold to FILE");
    command->add_option("--from", options->from, "The sweep's first threshold")->check(Decimal())->capture_default_str();
    command->add_option("--to", options->to, "The sweep's last threshold")->check(Decimal())->capture_default_str();
    command->add_option("--by", options->by, "The sweep's step")->check(Decimal())->capture_default_str();
    command->add_option("--matrix", options->out.matrix, "Also write the square distance matrix to FILE");
    std::string kinds;
    for (const std::string& kind : ui::PictureExtensions()) kinds += (kinds.empty() ? "." : ", .") + kind;
    command->add_option("--gap-plot", options->out.gapPlot,
                        "Draw each species' largest intraspecific distance against its nearest other species (" +
                            kinds + ")");
    command->add_option("--histogram", options->out.histogram,
                        "Draw the intraspecific and interspecific distances, with the best threshold");
    command->add_option("--sweep-plot", options->out.sweepPlot, "Draw the false positives and negatives per threshold");
    CLI::Option* shard =
        AddShardOption(*command, options->shard, "Only the pairs of the K-th of N slices of the library, for --join");
    command->add_option("--pairs", options->pairs, "With --shard: write its pairs to FILE (default: standard output)");
    command->add_option("--join", options->join,
                        "Build the tables and pictures from the --shard runs' pairs, given in shard order, instead of "
                        "comparing")
        ->excludes(shard);
    auto* backup = command->add_option("--backup", options->backup,
                                       "A whole run's backup: its pairs so far, after every record, for --resume")
                       ->capture_default_str();
    command->add_flag("--no-backup", options->noBackup, "Keep no backup")->excludes(backup);
    command->add_flag("--resume",
                      options->resume,
                      "Go on from the backup (a shard: its --pairs file) of this same command, killed or stopped "
                      "before its end: only the records it does not hold are aligned");
    AddJobsOption(*command, options->jobs);
    AddAlignerOptions(*command, options->aligner, options->alignerTimeout);
    AddReuseOptions(*command, options->reuseLimit, options->noReuse);
    AddVerboseFlag(*command, options->verbose);
    return [options, backup] {
        options->backupGiven = backup->count() != 0;
        return RunReportingFailure([&] { return RunGap(*options); });
    };
}

}  // namespace kadrel::cli
