#include "calc/RunComparison.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <set>
#include <vector>

#include "align/AlignerInput.h"
#include "align/TextFile.h"
#include "calc/BackupWriter.h"
#include "calc/BestMatches.h"
#include "calc/LoadedRecord.h"
#include "calc/RecordChecks.h"
#include "calc/RunBatch.h"
#include "calc/ReportHeader.h"
#include "calc/ResumePoint.h"
#include "calc/WorkerPool.h"
#include "distances/PairRow.h"

namespace kadrel {

namespace {

constexpr std::size_t kSkippedFilesNamed = 3;

using Clock = std::chrono::steady_clock;

// A batch is sized to keep a worker busy for about this long: handing it over then costs next to
// nothing, and the workers still finish close together. A slow aligner gets one pair a batch.
constexpr auto kBatchTime = std::chrono::milliseconds(1);
constexpr std::size_t kMaxBatch = 1024;

constexpr auto Skipped = SkippedPair;

// The first set-2 position record i meets.
std::size_t FirstSecond(std::size_t i, bool laterOnly) { return laterOnly ? i + 1 : 0; }

std::size_t PairsToCompare(const SequenceSet& set1, std::size_t begin, std::size_t end, const SequenceSet& set2,
                           bool laterOnly) {
    std::size_t pairs = 0;
    for (std::size_t i = begin; i < end; ++i) {
        for (std::size_t k = FirstSecond(i, laterOnly); k < set2.count; ++k) pairs += Skipped(set1, i, set2, k) ? 0 : 1;
    }
    return pairs;
}

// The caller's thread loads the records, cuts the pairs into batches in loop order and hands
// them to the workers, at most a few per worker ahead; it then takes the batches back in the same
// order, writes the rows and makes every sink call, so the report is the same whatever the
// number of workers.
class Run {
public:
    Run(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options, Aligner& aligner,
        ReportSink& sink, std::stop_token stop)
        : set1_(set1), set2_(set2), options_(options), aligner_(aligner), sink_(sink),
          begin1_(options.set1Begin), end1_(std::min(options.set1End, set1.count)),
          inFlight_(2 * std::max(1u, options.concurrentPairs) + 1),
          total_(PairsToCompare(set1, begin1_, end1_, set2, options.laterOnly)),
          forward_(stop, [this] { halt_.request_stop(); }), reuse_(options.reuseLimit),
          best_(options.bestCount, options.bestTies),
          workers_(std::max(1u, options.concurrentPairs)) {
        if (!options.backupFile.empty()) backup_.emplace(options.backupFile);
    }

    // Whatever is still queued when the run ends early (an exception) is not started.
    ~Run() { halt_.request_stop(); }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    RunSummary Go() {
        WriteHeader();
        for (const SequenceSet* set : {&set1_, &set2_})
            for (const std::string& warning : set->warnings) sink_.Warning(warning);
        // Set 2 is read once and held for the run rather than read again for every set-1 record.
        records2_.reserve(set2_.count);
        for (std::size_t k = 0; k < set2_.count; ++k) {
            records2_.push_back(LoadForRun(set2_, k, options_.textbook));
            records2_.back().sequence = ids_.IdOf(records2_.back().record.text, true);  // reserved: never moved
            WarnOfRecord(records2_.back());
        }
        std::vector<std::string> names2;
        names2.reserve(records2_.size());
        for (const auto& loaded : records2_) names2.push_back(loaded.record.name);
        sink_.SecondNames(names2);
        if (options_.resume) GoOnFromBackup(*options_.resume);
        Produce();
        while (!queue_.empty()) ConsumeFront();
        sink_.Append(best_.Text(options_.decimalSeparator));
        summary_.stopped = cut_ || producerStopped_;
        if (summary_.stopped) sink_.Append(StoppedLine(summary_.pairsCompared, total_));
        return summary_;
    }

private:
    // Once a stop is requested no more pairs are handed out.
    bool Stopping() {
        if (halt_.stop_requested()) producerStopped_ = true;
        return producerStopped_;
    }

    std::size_t NextCompared(std::size_t i, std::size_t k) const {
        while (k < records2_.size() && Skipped(set1_, i, set2_, k)) ++k;
        return k;
    }

    // The backup's banner says which run it is, so that it can be gone on from; the report's
    // names only a shard.
    void WriteHeader() {
        const std::string backupTag = BackupTag(set1_, set2_, options_);
        const std::string header = options_.resume ? options_.resume->header
                                                   : WriteReportHeader(options_.model, options_.bannerDate,
                                                                       options_.textbook,
                                                                       options_.shardCount ? backupTag : "");
        sink_.Append(header);
        if (!backup_) return;
        const auto bannerEnd = header.find("\r\n");
        backup_->Append(header.substr(0, bannerEnd));
        if (options_.shardCount == 0) backup_->Append(" " + backupTag);
        backup_->Append(std::string_view(header).substr(bannerEnd));
    }

    // The rows of the records the backup finished, as they were written, then their ends.
    void GoOnFromBackup(const ResumePoint& resume) {
        for (std::size_t j = 0; j < resume.records.size(); ++j) {
            const std::size_t i = begin1_ + j;
            const LoadedRecord record1 = LoadForRun(set1_, i, options_.textbook);
            BeginRecordOnce(i, record1);
            for (const ResumePoint::Row& row : resume.records[j]) {
                const std::string& name2 = records2_[row.second].record.name;
                Report(row.text);
                sink_.PairDone(i, row.second, record1.record.name, name2, row.row);
                best_.Offer(name2, row.row.RankingDistance(options_.model));
                ++summary_.pairsCompared;
                ++summary_.pairsResumed;
                if (row.row.HasNA(options_.model)) ++summary_.pairsFailed;
                sink_.Progress(summary_.pairsCompared, total_);
            }
            if (backup_ && !backup_->Commit()) sink_.Warning(backup_->Error());
            sink_.RecordFinished(i);
        }
    }

    void Produce() {
        const std::size_t count2 = records2_.size();
        const std::size_t first = begin1_ + (options_.resume ? options_.resume->records.size() : 0);
        for (std::size_t i = first; i < end1_ && !Stopping(); ++i) {
            auto loaded = LoadForRun(set1_, i, options_.textbook);
            loaded.sequence = ids_.IdOf(loaded.record.text);
            const auto record1 = std::make_shared<const LoadedRecord>(std::move(loaded));
            if (options_.choice) {
                ProduceChosen(i, record1);
                continue;
            }
            std::size_t k = NextCompared(i, std::min(FirstSecond(i, options_.laterOnly), count2));
            if (k == count2) Hand(i, {}, true, record1);
            while (k < count2) {
                if (Stopping()) return;
                std::size_t end = k + 1;
                while (end < count2 && end - k < batchSize_ && !Skipped(set1_, i, set2_, end)) ++end;
                const std::size_t next = NextCompared(i, end);
                std::vector<std::size_t> seconds(end - k);
                std::iota(seconds.begin(), seconds.end(), k);
                Hand(i, std::move(seconds), next == count2, record1);
                k = next;
            }
        }
    }

    // The pairs the choice names, round after round, each round reported in full before the
    // next is asked for, so that the choice can go by what the record's rows so far hold.
    void ProduceChosen(std::size_t i, const std::shared_ptr<const LoadedRecord>& record1) {
        std::size_t handed = 0;
        for (std::size_t round = 0;; ++round) {
            std::vector<std::size_t> seconds = options_.choice->Next(i, *record1, round);
            std::erase_if(seconds, [&](std::size_t k) { return k >= records2_.size() || Skipped(set1_, i, set2_, k); });
            if (seconds.empty()) break;
            handed += seconds.size();
            for (std::size_t at = 0; at < seconds.size();) {
                if (Stopping()) return;
                const std::size_t end = std::min(seconds.size(), at + batchSize_);
                Hand(i, std::vector<std::size_t>(seconds.begin() + at, seconds.begin() + end), false, record1);
                at = end;
            }
            if (options_.choice->OneRound()) break;
            while (!queue_.empty()) ConsumeFront();
            if (cut_) return;
        }
        summary_.pairsLeftOut += PairsToCompare(set1_, i, i + 1, set2_, options_.laterOnly) - handed;
        Hand(i, {}, true, record1);
    }

    void Hand(std::size_t i, std::vector<std::size_t> seconds, bool endsRecord,
              const std::shared_ptr<const LoadedRecord>& record1) {
        while (queue_.size() >= inFlight_) ConsumeFront();
        queue_.push_back(std::make_unique<Batch>());
        Batch* handed = queue_.back().get();
        handed->first = i;
        handed->seconds = std::move(seconds);
        handed->endsRecord = endsRecord;
        handed->record1 = record1;
        for (const std::size_t k : handed->seconds) {
            const LoadedRecord& second = records2_[k];
            std::shared_ptr<PairResult> earlier;
            const std::uint64_t key = PairKey(record1->sequence, second.sequence);
            // A pair that fails before the aligner is not kept: its record is what fails it.
            const bool alignable = !record1->problem && !second.problem;
            if (alignable) earlier = reuse_.Find(key);
            handed->reused.push_back(earlier != nullptr);
            if (!earlier) {
                earlier = std::make_shared<PairResult>();
                if (alignable) reuse_.Keep(key, earlier);
            }
            handed->results.push_back(std::move(earlier));
        }
        if (handed->seconds.empty()) {
            handed->finished = true;
        } else {
            workers_.Submit([this, handed] { Work(*handed); });
        }
    }

    // On a worker thread.
    void Work(Batch& batch) {
        const auto start = Clock::now();
        try {
            for (std::size_t j = 0; j < batch.results.size(); ++j)
                if (!batch.reused[j]) ComparePair(batch, batch.seconds[j], *batch.results[j]);
        } catch (...) {
            batch.error = std::current_exception();
        }
        batch.busy = Clock::now() - start;
        {
            const std::lock_guard lock(mutex_);
            batch.finished = true;
        }
        finished_.notify_one();
    }

    void ComparePair(Batch& batch, std::size_t k, PairResult& result) {
        const bool aligned = AlignPair(*batch.record1, records2_[k], PairName(batch.first, k), aligner_, options_.model,
                                       options_.textbook, halt_.get_token(), result);
        batch.aligned += aligned ? 1 : 0;
    }

    // After a stop the report keeps the pairs done before it, in loop order, up to the first one
    // the stop caught; whatever follows is dropped.
    void ConsumeFront() {
        const std::unique_ptr<Batch> batch = std::move(queue_.front());
        queue_.pop_front();
        {
            std::unique_lock lock(mutex_);
            finished_.wait(lock, [&] { return batch->finished; });
        }
        if (batch->error) std::rethrow_exception(batch->error);
        if (cut_) return;
        if (batch->aligned != 0) {
            // Sized from the aligner's pace, growing by at most a doubling at a time.
            const Clock::duration perPair = batch->busy / static_cast<Clock::rep>(batch->aligned);
            const auto fit = static_cast<std::size_t>(kBatchTime / std::max(perPair, Clock::duration(1)));
            batchSize_ = std::clamp<std::size_t>(fit, 1, std::min(kMaxBatch, 2 * batchSize_));
        }
        const LoadedRecord& record1 = *batch->record1;
        for (std::size_t j = 0; j < batch->results.size(); ++j) {
            const PairResult& result = *batch->results[j];
            if (result.interrupted) {
                cut_ = true;
                return;
            }
            BeginRecordOnce(batch->first, record1);
            const std::size_t k = batch->seconds[j];
            if (batch->reused[j]) ++summary_.pairsReused;
            else if (!record1.problem && !records2_[k].problem) ++summary_.pairsAligned;
            Emit(batch->first, k, record1, result);
        }
        if (batch->endsRecord) {
            BeginRecordOnce(batch->first, record1);
            SkipUpTo(batch->first, records2_.size());
            if (backup_ && !backup_->Commit()) sink_.Warning(backup_->Error());
            sink_.RecordFinished(batch->first);
        }
    }

    // Report text that the backup holds too: all but the "Best matches:" block.
    void Report(std::string_view text) {
        sink_.Append(text);
        if (backup_) backup_->Append(text);
    }

    // A set-1 record enters the report (its warning, its best-matches line) with its first row, or
    // at its end when it has none.
    void BeginRecordOnce(std::size_t i, const LoadedRecord& record1) {
        if (begunRecords_ > i) return;
        WarnOfRecord(record1);
        best_.BeginRecord(record1.record.name);
        sink_.RecordBegun(i, record1.record.name);
        begunRecords_ = i + 1;
        skipCursor_ = std::min(FirstSecond(i, options_.laterOnly), records2_.size());
    }

    // The pairs of set-1 record i skipped before set-2 position `end`, where their rows would be.
    void SkipUpTo(std::size_t i, std::size_t end) {
        for (; skipCursor_ < end; ++skipCursor_) {
            if (!Skipped(set1_, i, set2_, skipCursor_)) continue;
            sink_.PairSkipped(i, skipCursor_, RecordName(set1_, i), records2_[skipCursor_].record.name);
            if (summary_.pairsSkipped++ < kSkippedFilesNamed) summary_.skippedFiles.push_back(set1_.fileNames[i]);
        }
    }

    // Once a run for each record, even when a file is in both sets.
    void WarnOfRecord(const LoadedRecord& record) {
        const auto& warning = record.problem ? record.problem : record.note;
        if (warning && recordWarnings_.insert(*warning).second)
            sink_.RecordWarning(*warning, record.problem.has_value());
    }

    void Emit(std::size_t i, std::size_t k, const LoadedRecord& record1, const PairResult& result) {
        const auto& name1 = record1.record.name;
        const auto& name2 = records2_[k].record.name;
        SkipUpTo(i, k);
        skipCursor_ = std::max(skipCursor_, k + 1);
        Report(PairRowText(name1, name2, result.row, options_.model, options_.decimalSeparator));
        sink_.PairDone(i, k, name1, name2, result.row);
        best_.Offer(name2, result.row.RankingDistance(options_.model));
        ++summary_.pairsCompared;
        if (result.row.HasNA(options_.model)) ++summary_.pairsFailed;
        std::string failure = result.failure;
        if (failure.empty() && result.baselessSide != 0)
            failure = "\"" + (result.baselessSide == 1 ? name1 : name2) + "\" holds no A, C, G or T once aligned";
        if (!failure.empty())
            sink_.Warning("pair " + PairName(i, k) + " (" + name1 + ", " + name2 + "): " + failure);
        sink_.Progress(summary_.pairsCompared + summary_.pairsLeftOut, total_);
    }

    const SequenceSet& set1_;
    const SequenceSet& set2_;
    const RunOptions& options_;
    Aligner& aligner_;
    ReportSink& sink_;
    const std::size_t begin1_, end1_;  // the set-1 positions compared
    const std::size_t inFlight_;  // batches handed out and not yet reported
    const std::size_t total_;
    std::stop_source halt_;  // what the aligner sees: the caller's stop, or the end of the run
    const std::stop_callback<std::function<void()>> forward_;
    std::vector<LoadedRecord> records2_;
    SequenceIds ids_;                  // the producer's alone
    ReuseStore<PairResult> reuse_;     // the producer's alone
    std::deque<std::unique_ptr<Batch>> queue_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::size_t batchSize_ = 1;
    std::size_t begunRecords_ = 0;
    std::size_t skipCursor_ = 0;  // the current set-1 record's next set-2 position to report
    std::set<std::string> recordWarnings_;
    bool cut_ = false;
    bool producerStopped_ = false;
    BestMatches best_;
    RunSummary summary_;
    std::optional<BackupWriter> backup_;
    // Last, so that it ends first: its threads finish with the batches and records above.
    WorkerPool workers_;
};

}  // namespace

RunSummary RunComparison(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options,
                         Aligner& aligner, ReportSink& sink, std::stop_token stop) {
    if (const auto message = aligner.CheckAvailable(); !message.empty()) throw AlignerUnavailable(message);
    return Run(set1, set2, options, aligner, sink, stop).Go();
}

}  // namespace kadrel
