#include "cli/GapPairsRun.h"

#include <algorithm>
#include <cctype>

#include "align/TextFile.h"
#include "calc/GapShard.h"
#include "calc/RunFingerprint.h"
#include "cli/GapPairsKeeper.h"

namespace kadrel::cli {
namespace {

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The pairs of records [first, last) with their later records, of n.
std::size_t PairsOf(std::size_t first, std::size_t last, std::size_t n) {
    std::size_t pairs = 0;
    for (std::size_t i = first; i < last; ++i) pairs += n - 1 - i;
    return pairs;
}

}  // namespace

std::string GapAbout(const GapOptions& o) {
    return "library " + o.library + ", model " + LowerCase(o.model) + (o.classic ? ", classic" : ", published") +
           " formulas, aligner " + o.aligner;
}

GapResumeFile GapKeptFile(const GapOptions& options, const SequenceSet& library, const RunOptions& run,
                          const GapAnalysis& analysis, const std::string& sweep) {
    const std::string pairs = RunFingerprint(library, library, run);
    GapResumeFile kept;
    kept.parts = {{"the library's name (give it as the first run did)", "pairs: library " + options.library + ", model "},
                  {"the model (-m)", ", model " + LowerCase(options.model) + ","},
                  {"the formulas (--classic)", options.classic ? ", classic formulas," : ", published formulas,"},
                  {"the aligner (-a)", ", aligner " + options.aligner}};  // no aligner's name begins another's
    if (run.shardCount != 0) {
        kept.file = options.pairs;
        kept.kind = "pairs file";
        kept.header = GapShardHeader(GapAbout(options), {run.shardIndex, run.shardCount, pairs});
        kept.parts.push_back({"the kind of run (this is a shard; the file, a whole run's backup)", " [shard ", true});
        const std::string slice = std::to_string(run.shardIndex) + "/" + std::to_string(run.shardCount);
        kept.parts.push_back({"the shard (--shard " + slice + ")", " [shard " + slice + " of run "});
        return kept;
    }
    std::vector<std::string> species;
    for (const RecordGap& record : analysis.Records())
        species.push_back(record.species ? analysis.Species()[*record.species].name : "");
    const std::string speciesPrint = TextsFingerprint(species);
    kept.file = options.noBackup ? "" : options.backup;
    kept.kind = "backup";
    kept.header = GapPairsHeader(GapAbout(options) + ", species " + speciesPrint + ", sweep " + sweep,
                                 "[run " + TextsFingerprint({pairs, speciesPrint, sweep}) + "]");
    kept.parts.push_back({"the records' species (the headers or --taxonomy)", ", species " + speciesPrint + ","});
    kept.parts.push_back({"the sweep (--from, --to, --by)", ", sweep " + sweep + " ["});
    kept.parts.push_back({"the kind of run (this is a whole run; the file, a shard's pairs)", " [run ", true});
    return kept;
}

GapPairsOutcome CompareGapPairs(const GapOptions& options, const SequenceSet& library, RunOptions run,
                                const ChosenAligner& chosen, GapAnalysis& analysis, SquareMatrix* matrix,
                                const GapResumeFile& kept, ConsoleSink& progress, std::stop_source stop) {
    const bool shard = run.shardCount != 0;
    const std::size_t n = library.count, first = run.set1Begin, last = std::min(run.set1End, n);
    const std::vector<std::string> ids = RecordIds(analysis);
    GapJoinSummary resumed;
    std::optional<std::uint64_t> resumeAt;
    if (options.resume) {
        const GapPairLines read =
            ReadGapResumeFile(kept, ids, first, last, [&](std::size_t r, const std::vector<double>& later, std::string_view) {
                OfferGapRow(analysis, r, later, resumed);
                if (matrix) matrix->Row(r, later);
            });
        resumeAt = read.bytes;
        run.set1Begin = first + read.records;
    }
    GapPairsOutcome outcome;
    std::optional<GapPairsKeeper> keeper;
    if (shard || !kept.file.empty()) keeper.emplace(kept.file.string());
    // A shard's pairs are its output: when they cannot be written, nothing is worth aligning.
    bool keptFailed = false;
    const auto failed = [&] {
        keptFailed = true;
        if (shard) stop.request_stop();
        else progress.Warning(keeper->Warning());
    };
    if (keeper && !keeper->Start(kept.header, resumeAt)) {
        if (shard) {
            outcome.problem = "--pairs: cannot write " + QuotedPath(kept.file) + " (" + keeper->Reason() + ")";
            return outcome;
        }
        failed();
    }
    GapSink sink(progress, analysis, run.model, n, [&](std::size_t i, const std::vector<double>& later) {
        if (matrix) matrix->Row(i, later);
        if (keeper && !keptFailed && !keeper->Keep(GapShardLine(i, ids[i], later))) failed();
    });
    RunSummary& summary = outcome.summary;
    summary = RunComparison(library, library, run, *chosen.aligner, sink, stop.get_token());
    progress.ClearProgress();
    summary.pairsCompared += resumed.pairs;
    summary.pairsResumed = resumed.pairs;
    summary.pairsFailed += resumed.failed;
    if (keeper && !keptFailed &&
        !keeper->Finish(summary.stopped ? GapShardStopped(summary.pairsCompared, PairsOf(first, last, n))
                                        : GapShardEnd(last - first)))
        failed();
    outcome.readerGone = keeper && keeper->ReaderGone();
    if (shard && keptFailed && !outcome.readerGone)
        outcome.problem = kept.file.empty() ? "--pairs: " + keeper->Reason()
                                            : "--pairs: cannot write " + QuotedPath(kept.file) + " (" + keeper->Reason() +
                                                  "); it holds whole records: make room and run the same command with "
                                                  "--resume";
    return outcome;
}

}  // namespace kadrel::cli
