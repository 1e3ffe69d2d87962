#include <signal.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "align/AlignerInput.h"
#include "calc/BoundedPairs.h"
#include "calc/IdentificationTables.h"
#include "calc/IdentifyRun.h"
#include "calc/PairsAtOnce.h"
#include "calc/RunComparison.h"
#include "calc/SequenceSet.h"
#include "calc/TaxonomyTable.h"
#include "cli/AlignerChoice.h"
#include "cli/Commands.h"
#include "cli/ConsoleSink.h"
#include "cli/ModelOption.h"
#include "cli/OutputSafety.h"
#include "cli/ReportOutput.h"
#include "cli/RunCommandParts.h"
#include "cli/SignalStop.h"
#include "cli/StatusLine.h"

namespace kadrel::cli {
namespace {

struct IdentifyOptions {
    std::string queries, references;
    std::string model = "none";
    std::string output, hits, taxonomy;
    unsigned jobs = 0;
    std::string aligner = "t_coffee";
    unsigned alignerTimeout = 600;
    std::string shard;
    std::string maxDistance;  // empty: the largest rank distance
    std::size_t minOverlap = 100;
    std::string minCoverage = "0.8";
    std::size_t maxGapRuns = HitRule::kDefaultMaxGapRuns;
    std::string thresholds = "species=0.02,genus=0.05,family=0.10";
    bool verbose = false;
    bool exhaustive = false;
};

// Decimal options are read with a point whatever the locale, as the tables are written.
CLI::Validator DecimalCheck(bool upToOne) {
    return CLI::Validator(
        [upToOne](std::string& text) -> std::string {
            const auto value = ParseDecimal(text);
            if (!value) return "'" + text + "' is not a decimal number such as 0.02 (with a point)";
            if (upToOne && Fraction{1, 1} < *value) return "'" + text + "' is more than 1";
            return {};
        },
        "DECIMAL");
}

// Why an output would damage the user's data: a file of the sets, the taxonomy, or the other output.
std::optional<std::string> OutputsProblem(const IdentifyOptions& options, const SequenceSet& set1,
                                          const SequenceSet& set2) {
    if (const auto problem = OutputProblem(set1, set2, options.output, "")) return problem;
    if (options.hits.empty()) return std::nullopt;
    if (const auto problem = OutputProblem(set1, set2, options.hits, "")) return "--hits: " + *problem;
    if (!options.output.empty() && SameFile(options.hits, options.output))
        return "--hits: \"" + options.hits + "\" is the summary's output too; choose another file";
    if (!options.taxonomy.empty())
        for (const auto& file : {options.output, options.hits})
            if (!file.empty() && SameFile(file, options.taxonomy))
                return "\"" + file + "\" is the taxonomy file; choose another output";
    return std::nullopt;
}

HitRule MakeRule(const IdentifyOptions& options) {
    HitRule rule;
    std::string error;
    rule.thresholds = *ParseThresholds(options.thresholds, error);
    rule.maxDistance = options.maxDistance.empty() ? rule.thresholds.back().distance : *ParseDecimal(options.maxDistance);
    rule.minOverlap = options.minOverlap;
    rule.minCoverage = *ParseDecimal(options.minCoverage);
    rule.maxGapRuns = options.maxGapRuns;
    return rule;
}

RunOptions MakeRunOptions(const IdentifyOptions& options, DistanceModel model, const SequenceSet& set1,
                          const SequenceSet& set2) {
    RunOptions run;
    run.model = model;
    run.textbook = true;  // p over the sites where both hold A, C, G or T, whatever else a record holds
    const PairsAtOnce pairsAtOnce = ChoosePairsAtOnce(set1, set2, options.aligner == "t_coffee", options.jobs);
    if (!pairsAtOnce.notice.empty()) std::cerr << "kadrel: " << pairsAtOnce.notice << "\n";
    run.concurrentPairs = pairsAtOnce.pairs;
    run.alignerName = options.aligner;
    ApplyShard(options.shard, set1.count, run);
    return run;
}

// "3 queries: 2 named (1 to species), 1 without a call"
std::string CallsText(std::size_t queries, std::size_t named, std::size_t toSpecies) {
    return std::to_string(queries) + (queries == 1 ? " query: " : " queries: ") + std::to_string(named) + " named (" +
           std::to_string(toSpecies) + " to species), " + std::to_string(queries - named) + " without a call";
}

// "120 of 1000 queries, 0:45 left": the time left as the queries so far went.
std::string QueriesText(std::size_t done, std::size_t total, std::chrono::steady_clock::duration spent) {
    std::string text = std::to_string(done) + " of " + std::to_string(total) + " queries";
    if (done == 0 || done >= total) return text;
    const auto left = spent / done * static_cast<std::chrono::steady_clock::rep>(total - done);
    return text + ", " + ClockText(std::chrono::duration_cast<std::chrono::seconds>(left)) + " left";
}

int RunIdentify(const IdentifyOptions& options) {
    const DistanceModel model = *ParseModelName(options.model);
    const HitRule rule = MakeRule(options);
    SequenceSet queries, references;
    std::optional<TaxonomyTable> table;
    std::vector<RecordTaxon> queryTaxa, referenceTaxa;
    StatusLine reading;
    reading.Show("reading the queries and the references", true);
    try {
        queries = ReadSequenceSet(1, options.queries);
        references = ReadSequenceSet(2, options.references);
        RequireRecords(queries);
        RequireRecords(references);
        if (!options.taxonomy.empty()) table = TaxonomyTable::Read(options.taxonomy);
        queryTaxa = ReadRecordTaxa(queries, table ? &*table : nullptr);
        referenceTaxa = ReadRecordTaxa(references, table ? &*table : nullptr);
    } catch (const SetError& e) {
        reading.Clear();
        return Fail(e.what());
    } catch (const TaxonomyError& e) {
        reading.Clear();
        return Fail(e.what());
    }
    reading.Clear();
    if (const auto problem = OutputsProblem(options, queries, references)) return Fail(*problem);
    ChosenAligner chosen = ChooseAligner(options.aligner, std::chrono::seconds(options.alignerTimeout), queries, references);
    if (!chosen.aligner) return Fail(chosen.problem);
    RunOptions run = MakeRunOptions(options, model, queries, references);

    ReportOutput out(options.output);
    if (out.Failed()) return Fail(out.Problem());
    std::optional<ReportOutput> hitsOut;
    if (!options.hits.empty()) {
        hitsOut.emplace(options.hits);
        if (hitsOut->Failed()) return Fail("--hits: " + hitsOut->Problem());
    }
    const std::string comment =
        rule.CommentLine("aligner=" + options.aligner + " model=" + options.model) + "\n";
    out.Write(comment + SummaryTitles(model));
    if (hitsOut) hitsOut->Write(comment + HitTitles(model));

    std::stop_source stop;
    StopOnSignals(stop);
    ConsoleSink console(out, stop, options.verbose, false);
    std::size_t done = 0, named = 0, toSpecies = 0;
    const std::size_t asked = std::min(run.set1End, queries.count) - std::min(run.set1Begin, queries.count);
    auto begun = std::chrono::steady_clock::now();
    IdentificationSink sink(console, rule, queryTaxa, referenceTaxa, [&](const QueryResult& result) {
        out.Write(SummaryLine(result, model));
        ++done;
        console.Status(QueriesText(done, asked, std::chrono::steady_clock::now() - begun), done == asked);
        named += result.identification.rank ? 1 : 0;
        toSpecies += result.identification.rank == Rank::Species ? 1 : 0;
        if (!hitsOut) return;
        hitsOut->Write(HitLines(result, model));
        if (!hitsOut->Flush()) stop.request_stop();
    });
    std::optional<WordIndex> index;
    std::optional<BoundedPairs> bounded;
    console.Status(std::to_string(references.count) + " references read", true);
    if (!options.exhaustive) {
        console.Status(std::to_string(references.count) + " references read; indexing their words", true);
        index.emplace(WordLength(rule.maxDistance), references.count, [&](std::size_t k) {
            try {
                return SequenceResidues(LoadRecord(references, k).text);
            } catch (const SetError&) {
                return std::string();  // the run reports its pairs as NA
            }
        });
        run.choice = &bounded.emplace(*index, rule);
        console.Status(std::to_string(references.count) + " references read; index built", true);
        begun = std::chrono::steady_clock::now();
    }
    const RunSummary summary = RunComparison(queries, references, run, *chosen.aligner, sink, stop.get_token());
    if (hitsOut) hitsOut->Close();
    out.Close();
    console.ClearProgress();
    if (out.ReaderGone()) return 128 + SIGPIPE;
    if (out.Failed()) return Fail(out.Problem());
    if (hitsOut && hitsOut->Failed()) return Fail("--hits: " + hitsOut->Problem());

    if (const std::string line = console.RecordWarningsLine(); !line.empty()) std::cerr << line << "\n";
    std::string more = chosen.pairhmm ? std::to_string(chosen.pairhmm->PairsSentToTCoffee()) + " aligned by t_coffee" : "";
    std::cerr << "kadrel: " << ClosingSummary(summary, more) << "; " << CallsText(done, named, toSpecies);
    if (bounded) std::cerr << "; " << summary.pairsLeftOut << " pairs skipped by the word bound";
    std::cerr << "\n";
    if (summary.stopped) return kStoppedStatus;
    return summary.pairsFailed == 0 ? 0 : 1;
}

}  // namespace

CommandRunner AddIdentifyCommand(CLI::App& app) {
    auto options = std::make_shared<IdentifyOptions>();
    CLI::App* command = app.add_subcommand(
        "identify", "Name every record of QUERIES from its closest records in REFERENCES and their taxonomy");
    command->add_option("QUERIES", options->queries, "The specimens: a folder or a multiple-sequence file")->required();
    command->add_option("REFERENCES", options->references, "The reference library: a folder or a multiple-sequence file")
        ->required();
    AddModelOption(*command, options->model);
    command->add_option("-o,--output", options->output, "The summary, one line a query (default: standard output)");
    command->add_option("--hits", options->hits, "Also write every hit to FILE, BLAST's tabular columns first");
    command->add_option("--taxonomy", options->taxonomy,
                        "A tab-separated table of lineages by record id (columns named by rank), over the headers'");
    command->add_option("--thresholds", options->thresholds,
                        "Largest p at which a taxon is named at its rank, RANK=DISTANCE,...")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                std::string error;
                return ParseThresholds(text, error) ? "" : error;
            },
            "LIST"))
        ->capture_default_str();
    command->add_option("--max-distance", options->maxDistance,
                        "Largest p of a hit (default: the largest of --thresholds)")
        ->check(DecimalCheck(false));
    command->add_option("--min-overlap", options->minOverlap, "Fewest compared sites of a hit")->capture_default_str();
    command->add_option("--min-coverage", options->minCoverage,
                        "Fewest compared sites of a hit per base of the query")
        ->check(DecimalCheck(true))
        ->capture_default_str();
    command->add_option("--max-gap-runs", options->maxGapRuns, "Most gap runs inside the alignment of a hit")
        ->capture_default_str();
    AddJobsOption(*command, options->jobs);
    AddAlignerOptions(*command, options->aligner, options->alignerTimeout);
    AddShardOption(*command, options->shard, "Only the K-th of N slices of QUERIES");
    AddVerboseFlag(*command, options->verbose);
    command->add_flag("--exhaustive", options->exhaustive,
                      "Align every pair, even those the word bound proves can be no hit (the same tables, slower)");
    return [options] { return RunReportingFailure([&] { return RunIdentify(*options); }); };
}

}  // namespace kadrel::cli
