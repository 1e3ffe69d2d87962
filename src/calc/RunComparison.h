#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include "align/Aligner.h"
#include "calc/ReportSink.h"
#include "calc/ReuseStore.h"
#include "calc/SequenceSet.h"
#include "distances/DistanceModel.h"

namespace kadrel {

struct ResumePoint;
struct LoadedRecord;

// Which set-2 records a set-1 record is compared with, when not every one: asked in rounds, each
// round's pairs all reported to the sink before the next round is asked for, until a round names
// none. The pairs never named are left out without a row.
class PairChoice {
public:
    virtual ~PairChoice() = default;
    // Set-2 positions, rising, none named twice for one record; `round` counts from 0 for each record.
    virtual std::vector<std::size_t> Next(std::size_t first, const LoadedRecord& record, std::size_t round) = 0;
    // True when round 0 names every pair the choice will: the run hands the next record's pairs
    // on without waiting for these rows, and asks no second round.
    virtual bool OneRound() const { return false; }
};

struct RunOptions {
    DistanceModel model = DistanceModel::None;
    std::string decimalSeparator = ".";
    std::string bannerDate;          // the locale's short date and time, made by the front end
    unsigned concurrentPairs = 1;    // pairs aligned at once (worker threads); rows still come out in loop order
    bool textbook = false;           // the model column by the published forms
    // Set-1 positions [set1Begin, set1End) compared (a shard); pair names keep the set's positions.
    std::size_t set1Begin = 0;
    std::size_t set1End = SIZE_MAX;
    std::filesystem::path backupFile = {};  // the report so far after every set-1 record; empty: none
    unsigned bestCount = 1;          // best matches listed per set-1 record
    bool bestTies = false;           // and every one tied with the last listed
    // Results kept so that a pair of two sequences aligned before takes that result; 0: none.
    std::size_t reuseLimit = kDefaultReuseLimit;
    // A shard, the shardIndex-th of shardCount: its banner names it and its run (ShardTag). 0: none.
    std::size_t shardIndex = 0, shardCount = 0;
    std::string alignerName = {};  // "t_coffee", "builtin", ...: part of what a shard's run stands for
    // Whatever else decides the output of the command, for its fingerprint only (identify: the hit
    // rule and the taxa); empty for compare.
    std::string runDetails = {};
    // What the backup of an earlier, unfinished run of the same command holds: its header and rows
    // are the report's, and its records are not aligned again. Null: from the start.
    const ResumePoint* resume = nullptr;
    // Set 1 and set 2 are one set compared with itself: record i meets only the records after it,
    // so each unordered pair is aligned once (i as the first sequence) and no record meets itself.
    bool laterOnly = false;
    // Null: every pair. Not for a run with a backup or gone on from one.
    PairChoice* choice = nullptr;
};

struct RunSummary {
    std::size_t pairsCompared = 0;
    std::size_t pairsFailed = 0;  // rows holding NA
    std::size_t pairsAligned = 0;  // handed to the aligner
    std::size_t pairsReused = 0;   // given the result of an earlier pair of the same sequences
    std::size_t pairsResumed = 0;  // taken from the backup gone on from
    std::size_t pairsSkipped = 0;  // the same file name in both folder sets
    std::size_t pairsLeftOut = 0;  // never named by the run's PairChoice
    std::vector<std::string> skippedFiles;  // the first few of those names
    bool stopped = false;
    // "done", "done (N of M pairs failed)" or "stopped"
    std::string StatusText() const;
    // "N pairs skipped (the same file in both folder sets: a.fas, b.fas, ...)"; empty for none.
    std::string SkippedText() const;
};

// The aligner cannot run (t_coffee not installed): nothing was written.
class AlignerUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole comparison: header, rows in loop order (set 1 outer), a RecordFinished after every
// set-1 record, the "Best matches:" block, and the StoppedLine when a stop cut the run short. Failures are counted, never fatal; problems that do
// not stop the run go to sink.Warning (a folder file that cannot be read or holds more than one
// record fails its pairs). The backup, when asked for, holds the report without the "Best
// matches:" block, its banner ending in the run's BackupTag; one that cannot be written gives one
// warning. Every sink call is made on the
// calling thread. A stop request kills the pairs in flight and keeps the others from reaching
// the aligner: the rows done before the first pair it caught stay, and the "Best matches:"
// block covers them. Throws AlignerUnavailable, before writing anything, when
// aligner.CheckAvailable() says so.
RunSummary RunComparison(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options,
                         Aligner& aligner, ReportSink& sink, std::stop_token stop);

}  // namespace kadrel
