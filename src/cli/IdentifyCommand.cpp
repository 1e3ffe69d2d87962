#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

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
#include "calc/IdentifyFiles.h"
#include "calc/IdentifyJoin.h"
#include "calc/IdentifyRun.h"
#include "calc/ResumePoint.h"
#include "calc/RunFingerprint.h"
#include "calc/TableText.h"
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
    bool resume = false;
    std::vector<std::string> join, joinHits;  // the shards' summaries and hits files, in shard order
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
    if (options.resume && options.output.empty())
        return std::string("--resume goes on from the summary file, so it needs -o FILE (the summary of the run to go on)");
    if (!options.join.empty() && options.joinHits.size() != (options.hits.empty() ? 0 : options.join.size()))
        return options.hits.empty() ? std::string("--join-hits: the joined hits need --hits FILE to go to")
                                    : "--hits: give --join-hits the hits files of the " +
                                          std::to_string(options.join.size()) + " shards, in the same order";
    if (const auto problem = OutputProblem(set1, set2, options.output, "")) return problem;
    if (!options.hits.empty()) {
        if (const auto problem = OutputProblem(set1, set2, options.hits, "")) return "--hits: " + *problem;
        if (!options.output.empty() && SameFile(options.hits, options.output))
            return "--hits: \"" + options.hits + "\" is the summary's output too; choose another file";
    }
    for (const auto& file : {options.output, options.hits}) {
        if (file.empty()) continue;
        if (!options.taxonomy.empty() && SameFile(file, options.taxonomy))
            return "\"" + file + "\" is the taxonomy file; choose another output";
        for (const auto& shards : {options.join, options.joinHits})
            for (const std::string& shard : shards)
                if (SameFile(file, shard)) return "\"" + file + "\" is a shard given to --join; choose another output";
    }
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
// `timed`: the queries done in `spent` (a resumed run's earlier ones took no time here).
std::string QueriesText(std::size_t done, std::size_t total, std::chrono::steady_clock::duration spent,
                        std::size_t timed) {
    std::string text = std::to_string(done) + " of " + std::to_string(total) + " queries";
    if (timed == 0 || done >= total) return text;
    const auto left = spent / timed * static_cast<std::chrono::steady_clock::rep>(total - done);
    return text + ", " + ClockText(std::chrono::duration_cast<std::chrono::seconds>(left)) + " left";
}

// The references' distinct sequences and their word index, with progress on the console.
const WordIndex& BuildIndex(std::optional<WordIndex>& index, std::optional<ReferenceGroups>& groups,
                            const HitRule& rule, const SequenceSet& references, ConsoleSink& console) {
    const auto residues = [&](std::size_t k) {
        try {
            return SequenceResidues(LoadRecord(references, k).text);
        } catch (const SetError&) {
            return std::string();  // the run reports its pairs as NA
        }
    };
    const std::string total = std::to_string(references.count);
    groups.emplace(references.count, residues, [&](std::size_t k) {
        console.Status(std::to_string(k + 1) + " of " + total + " references read for the index", k + 1 == references.count);
    });
    const std::size_t distinct = groups->Groups();
    const std::string of = " of " + std::to_string(distinct) + " distinct sequences";
    std::size_t calls = 0;  // the index reads each sequence twice: it counts, then it files
    index.emplace(WordLength(rule.maxDistance), distinct, [&](std::size_t g) {
        ++calls;
        console.Status("indexing words, " + std::string(calls <= distinct ? "counted " : "filed ") +
                       std::to_string(g + 1) + of);
        return residues(groups->Members(g).front());
    });
    console.Status(total + " references read; index built over " + std::to_string(distinct) + " distinct sequences", true);
    return *index;
}

// What decides the tables beyond the sets, the model and the aligner: the rule and the taxa.
std::string RunDetails(const std::string& rule, const std::vector<RecordTaxon>& queryTaxa,
                       const std::vector<RecordTaxon>& referenceTaxa) {
    FingerprintHash taxa;
    for (const auto* set : {&queryTaxa, &referenceTaxa})
        for (const RecordTaxon& taxon : *set) {
            taxa.Add(taxon.id);
            taxa.Add(taxon.lineage.Text());
        }
    return rule + " taxa=" + taxa.Hex();
}

IdentifyTablesShape TablesShape(std::string comment, DistanceModel model, const std::vector<RecordTaxon>& queryTaxa,
                                std::size_t begin, std::size_t end) {
    comment.pop_back();
    IdentifyTablesShape shape{std::move(comment), SummaryTitles(model), HitTitles(model), {}};
    for (std::size_t q = begin; q < std::min(end, queryTaxa.size()); ++q) shape.queries.push_back(TableName(queryTaxa[q].id));
    return shape;
}

// The summary and hits files of the run, open to be written: from their header, or with
// --resume after what they hold whole, cut back to it. Empty, or why not (nothing was changed).
std::string OpenTables(const IdentifyOptions& options, const IdentifyTablesShape& shape, std::size_t& resumed,
                       ReportOutput*& out, std::optional<ReportOutput>& summaryOut, std::optional<ReportOutput>& hitsOut) {
    // Killed before its first query: begun again from the header.
    const bool resume = options.resume && !(!options.output.empty() && IdentifyTablesNotBegun(options.output, options.hits, shape));
    if (resume) {
        for (const std::string& file : {options.output, options.hits})
            if (!file.empty() && !std::filesystem::exists(file))
                return "--resume: there is no \"" + file + "\" to go on from (run the command without --resume first)";
        IdentifyTablesRead read;
        try {
            read = ReadIdentifyTables(options.output, options.hits, shape);
        } catch (const IdentifyFilesError& e) {
            return std::string("--resume: ") + e.what() + "; the files were left as they are";
        }
        for (const auto& [file, bytes] : {std::pair{options.output, read.summaryBytes}, {options.hits, read.hitsBytes}})
            if (!file.empty() && ::truncate(file.c_str(), static_cast<off_t>(bytes)) != 0)
                return "--resume: cannot cut \"" + file + "\" back to its whole lines (" + std::strerror(errno) + ")";
        resumed = read.queries;
    }
    summaryOut.emplace(options.output, resume);
    if (summaryOut->Failed()) return summaryOut->Problem();
    out = &*summaryOut;
    if (!options.hits.empty()) {
        hitsOut.emplace(options.hits, resume);
        if (hitsOut->Failed()) return "--hits: " + hitsOut->Problem();
    }
    if (resume) return {};
    out->Write(shape.comment + "\n" + shape.summaryTitles);
    if (hitsOut) hitsOut->Write(shape.comment + "\n" + shape.hitTitles);
    return {};
}

// --join: the shards' tables into the whole run's.
int JoinShards(const IdentifyOptions& options, const IdentifyTablesShape& shape, std::string_view rule,
               const std::string& run) {
    std::optional<IdentifyJoin> join;
    try {
        join.emplace(std::vector<std::filesystem::path>(options.join.begin(), options.join.end()),
                     std::vector<std::filesystem::path>(options.joinHits.begin(), options.joinHits.end()), shape, rule,
                     run);
    } catch (const MergeError& e) {
        return Fail(e.what());
    }
    std::size_t resumed = 0;
    ReportOutput* out = nullptr;
    std::optional<ReportOutput> summaryOut, hitsOut;
    if (const std::string problem = OpenTables(options, shape, resumed, out, summaryOut, hitsOut); !problem.empty())
        return Fail(problem);
    try {
        join->Write([&](std::string_view text) { out->Write(text); },
                    [&](std::string_view text) { hitsOut->Write(text); });
    } catch (const MergeError& e) {
        return Fail(e.what());
    }
    if (hitsOut && !hitsOut->Close()) return Fail("--hits: " + hitsOut->Problem());
    if (!out->Close()) return out->ReaderGone() ? 128 + SIGPIPE : Fail(out->Problem());
    std::cerr << "kadrel: " << join->Queries() << " queries and " << join->Hits() << " hits joined from "
              << options.join.size() << " shards\n";
    return 0;
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
    const std::string ruleText = rule.CommentLine("aligner=" + options.aligner + " model=" + options.model);
    run.runDetails = RunDetails(ruleText, queryTaxa, referenceTaxa);
    const IdentifyTablesShape shape = TablesShape(IdentifyCommentLine(ruleText, BackupTag(queries, references, run)),
                                                  model, queryTaxa, run.set1Begin, run.set1End);
    if (!options.join.empty()) return JoinShards(options, shape, ruleText, RunFingerprint(queries, references, run));

    std::size_t resumed = 0;
    ReportOutput* out = nullptr;
    std::optional<ReportOutput> summaryOut, hitsOut;
    if (const std::string problem = OpenTables(options, shape, resumed, out, summaryOut, hitsOut); !problem.empty())
        return Fail(problem);
    const std::size_t asked = shape.queries.size();
    run.set1Begin += resumed;

    std::stop_source stop;
    StopOnSignals(stop);
    ConsoleSink console(*out, stop, options.verbose, false);
    std::size_t done = 0, named = 0, toSpecies = 0;
    auto begun = std::chrono::steady_clock::now();
    // The hits go out before the summary line, so that the summary is a whole prefix of queries
    // whose hits are all in their file: what --resume goes on from.
    IdentificationSink sink(console, rule, queryTaxa, referenceTaxa, [&](const QueryResult& result) {
        if (hitsOut) hitsOut->Write(HitLines(result, model));
        if (hitsOut && !hitsOut->Flush()) {
            stop.request_stop();
            return;
        }
        out->Write(SummaryLine(result, model));
        if (!out->Flush()) stop.request_stop();
        ++done;
        console.Status(QueriesText(resumed + done, asked, std::chrono::steady_clock::now() - begun, done),
                       resumed + done == asked);
        named += result.identification.rank ? 1 : 0;
        toSpecies += result.identification.rank == Rank::Species ? 1 : 0;
    });
    std::optional<WordIndex> index;
    std::optional<ReferenceGroups> groups;
    std::optional<BoundedPairs> bounded;
    if (!options.exhaustive) {
        run.choice = &bounded.emplace(BuildIndex(index, groups, rule, references, console), *groups, rule);
        begun = std::chrono::steady_clock::now();
    }
    const RunSummary summary = RunComparison(queries, references, run, *chosen.aligner, sink, stop.get_token());
    if (summary.stopped) {
        const std::string stopped = IdentifyStoppedLine(resumed + done, asked);
        if (hitsOut) hitsOut->Write(stopped);
        out->Write(stopped);
    }
    if (hitsOut) hitsOut->Close();
    out->Close();
    console.ClearProgress();
    if (out->ReaderGone()) return 128 + SIGPIPE;
    if (out->Failed()) return Fail(out->Problem());
    if (hitsOut && hitsOut->Failed()) return Fail("--hits: " + hitsOut->Problem());

    if (const std::string line = console.RecordWarningsLine(); !line.empty()) std::cerr << line << "\n";
    std::string more = chosen.pairhmm ? std::to_string(chosen.pairhmm->PairsSentToTCoffee()) + " aligned by t_coffee" : "";
    std::cerr << "kadrel: " << ClosingSummary(summary, more) << "; " << CallsText(done, named, toSpecies);
    if (resumed != 0) std::cerr << "; " << resumed << " more gone on from";
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
    CLI::Option* shard = AddShardOption(*command, options->shard, "Only the K-th of N slices of QUERIES, for --join");
    AddVerboseFlag(*command, options->verbose);
    command->add_flag("--exhaustive", options->exhaustive,
                      "Align every pair, even those the word bound proves can be no hit (the same tables, slower)");
    CLI::Option* resume = command->add_flag("--resume", options->resume,
                      "Go on from the summary (-o) and --hits files of this same command, killed or stopped before "
                      "its end: only the queries they do not hold are identified");
    auto* join = command->add_option("--join", options->join,
                                     "Write the tables of the whole run from the summaries of its --shard runs, given "
                                     "in shard order, instead of identifying")
                     ->excludes(shard)
                     ->excludes(resume);
    command->add_option("--join-hits", options->joinHits,
                        "With --join and --hits: the shards' hits files, in the same order")
        ->needs(join);
    return [options] { return RunReportingFailure([&] { return RunIdentify(*options); }); };
}

}  // namespace kadrel::cli
