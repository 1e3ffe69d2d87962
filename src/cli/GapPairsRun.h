#pragma once
#include <optional>
#include <stop_token>
#include <string>

#include "calc/GapAnalysis.h"
#include "calc/GapResume.h"
#include "calc/RunComparison.h"
#include "cli/AlignerChoice.h"
#include "cli/ConsoleSink.h"
#include "cli/GapMatrix.h"
#include "cli/GapOptions.h"

namespace kadrel::cli {

// What a shard's pairs stand for, as their first line says and a join's message quotes.
std::string GapAbout(const GapOptions& options);

// The file a run of `options` keeps its pairs in and goes on from: a shard's --pairs (empty:
// standard output), a whole run's backup (empty: --no-backup). Its first line names the run: for a
// shard, what the join needs (library, model, formulas, aligner, shard); for a whole run also the
// records' species and the sweep, `sweep` ("0.001 to 0.05 by 0.001"), as its tables depend on them.
GapResumeFile GapKeptFile(const GapOptions& options, const SequenceSet& library, const RunOptions& run,
                          const GapAnalysis& analysis, const std::string& sweep);

struct GapPairsOutcome {
    RunSummary summary;  // the pairs taken from the kept file counted as resumed
    std::optional<std::string> problem;  // the shard's pairs could not be written
    bool readerGone = false;             // nobody reads the shard's pairs on standard output
};

// Compares the pairs of `run`'s records into `analysis` and `matrix`, going on from `kept` with
// --resume, and keeps each record's line there once done, closed by the end or stopped line. A
// whole run's backup that cannot be written is warned of and the run goes on; a shard's pairs
// stop the run. Throws ResumeError when the kept file cannot be gone on from; nothing was written.
GapPairsOutcome CompareGapPairs(const GapOptions& options, const SequenceSet& library, RunOptions run,
                                const ChosenAligner& chosen, GapAnalysis& analysis, SquareMatrix* matrix,
                                const GapResumeFile& kept, ConsoleSink& progress, std::stop_source stop);

}  // namespace kadrel::cli
