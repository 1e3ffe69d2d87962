#include <signal.h>

#include <cctype>
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
#include "calc/RunComparison.h"
#include "calc/RunFingerprint.h"
#include "calc/ShardOrder.h"
#include "calc/SequenceSet.h"
#include "calc/TaxonomyTable.h"
#include "cli/AlignerChoice.h"
#include "cli/Commands.h"
#include "cli/ConsoleSink.h"
#include "cli/GapMatrix.h"
#include "cli/GapOutputs.h"
#include "cli/ModelOption.h"
#include "cli/OutputSafety.h"
#include "cli/ReportOutput.h"
#include "cli/RunCommandParts.h"
#include "cli/SignalStop.h"
#include "distances/NumberText.h"
#include "ui/GapCharts.h"

namespace kadrel::cli {
namespace {

struct GapOptions {
    std::string library;
    std::string model = "k2p";
    bool classic = false;
    std::string taxonomy;
    GapOutputFiles out;
    std::string from = "0.001", to = "0.05", by = "0.001";
    std::string shard, pairs;       // --shard K/N writes its pairs, to --pairs or standard output
    std::vector<std::string> join;  // the pairs of every shard, for the tables of the whole run
    unsigned jobs = 0;
    std::string aligner = "t_coffee";
    unsigned alignerTimeout = 600;
    std::size_t reuseLimit = kDefaultReuseLimit;
    bool noReuse = false;
    bool verbose = false;
};

// Every file the run writes, with the option that names it; standard output for the species
// table when --species is not given, for a shard's pairs when --pairs is not.
std::vector<std::pair<std::string, std::string>> Outputs(const GapOptions& o) {
    auto files = o.out.Named();
    if (!o.pairs.empty()) files.emplace_back("--pairs", o.pairs);
    return files;
}

// Why an output would damage the user's data: the library, the taxonomy, a shard to join, or
// another output; or why the options do not go together.
std::optional<std::string> OutputsProblem(const GapOptions& options, const SequenceSet& library) {
    const auto files = Outputs(options);
    if (!options.pairs.empty() && options.shard.empty())
        return std::string("--pairs: only a --shard run writes its pairs; give --shard K/N");
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

// What a shard's pairs stand for, as its first line says and a join's message quotes.
std::string About(const GapOptions& o) {
    std::string model = o.model;
    for (char& c : model) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "library " + o.library + ", model " + model + (o.classic ? ", classic" : ", published") +
           " formulas, aligner " + o.aligner;
}

// What the closing line adds about the aligner, once the run is over.
std::string AlignerText(const ChosenAligner& chosen) {
    return chosen.pairhmm ? std::to_string(chosen.pairhmm->PairsSentToTCoffee()) + " aligned by t_coffee" : "";
}

// Writes the pairs of `run`'s shard, the end line only when it was not stopped.
int RunShard(const GapOptions& options, const SequenceSet& library, RunOptions run, const ChosenAligner& chosen,
             GapAnalysis& analysis) {
    ApplyShard(options.shard, library.count, run);
    const ShardTag tag{run.shardIndex, run.shardCount, RunFingerprint(library, library, run)};
    ReportOutput pairs(options.pairs);
    if (pairs.Failed()) return Fail("--pairs: " + pairs.Problem());
    pairs.Write(GapShardHeader(About(options), tag));
    std::stop_source stop;
    StopOnSignals(stop);
    ReportOutput console("");
    ConsoleSink progress(console, stop, options.verbose);
    GapSink sink(progress, analysis, run.model, library.count, [&](std::size_t i, const std::vector<double>& later) {
        pairs.Write(GapShardLine(i, analysis.Records()[i].id, later));
    });
    const RunSummary summary = RunComparison(library, library, run, *chosen.aligner, sink, stop.get_token());
    progress.ClearProgress();
    if (!summary.stopped) pairs.Write(GapShardEnd(run.set1End - run.set1Begin));
    pairs.Close();
    if (pairs.ReaderGone()) return 128 + SIGPIPE;
    if (pairs.Failed()) return Fail("--pairs: " + pairs.Problem());
    if (const std::string line = progress.RecordWarningsLine(); !line.empty()) std::cerr << line << "\n";
    std::cerr << "kadrel: " << ClosingSummary(summary, AlignerText(chosen)) << "; shard " << tag.index << "/" << tag.count
              << ", records " << run.set1Begin + 1 << " to " << run.set1End << " of " << library.count
              << (summary.stopped ? ": stopped, so 'kadrel gap --join' will refuse it; run it again\n"
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
                              About(options), analysis, rows);
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
        if (!options.shard.empty()) return RunShard(options, library, run, chosen, analysis);
        StopOnSignals(stop);
        progress.emplace(console, stop, options.verbose);
        GapSink sink(*progress, analysis, model, library.count, rows);
        summary = RunComparison(library, library, run, *chosen.aligner, sink, stop.get_token());
        progress->ClearProgress();
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
    AddJobsOption(*command, options->jobs);
    AddAlignerOptions(*command, options->aligner, options->alignerTimeout);
    AddReuseOptions(*command, options->reuseLimit, options->noReuse);
    AddVerboseFlag(*command, options->verbose);
    return [options] { return RunReportingFailure([&] { return RunGap(*options); }); };
}

}  // namespace kadrel::cli
