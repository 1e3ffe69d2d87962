#include "calc/RunComparison.h"

#include <algorithm>
#include <deque>
#include <future>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

#include "align/AlignerInput.h"
#include "calc/BestMatches.h"
#include "calc/ReportHeader.h"
#include "align/TextFile.h"
#include "calc/WorkerPool.h"
#include "distances/NumberText.h"
#include "distances/PairRow.h"

namespace kadrel {

std::string RunSummary::StatusText() const {
    if (stopped) return "stopped";
    if (pairsFailed == 0) return "done";
    return "done (" + std::to_string(pairsFailed) + " of " + std::to_string(pairsCompared) +
           " pairs failed)";
}

namespace {

// A record as the run uses it; `problem` set means its pairs fail without being aligned.
struct LoadedRecord {
    SequenceRecord record;
    std::optional<std::string> problem;
};

std::string Describe(const SequenceSet& set, const SequenceRecord& record) {
    if (set.source == SetSource::Folder) return QuotedPath(set.folderPath / record.fileName);
    return "record " + QuotedPath(record.name) + " of " + QuotedPath(set.chosenFile);
}

LoadedRecord Load(const SequenceSet& set, std::size_t index) {
    LoadedRecord loaded;
    try {
        loaded.record = LoadRecord(set, index);
    } catch (const SetError& e) {
        loaded.record.index = index;
        loaded.record.fileName = set.fileNames.at(index);
        loaded.record.name = FolderRecordName(loaded.record.fileName);
        loaded.problem = std::string(e.what()) + "; its pairs are reported as NA";
        return loaded;
    }
    if (const auto problem = RecordTextProblem(loaded.record.text))
        loaded.problem = Describe(set, loaded.record) + " " + *problem + "; its pairs are reported as NA";
    return loaded;
}

struct PairResult {
    PairRow row;
    std::string failure;       // why the aligner gave nothing usable; empty otherwise
    bool interrupted = false;  // a stop came before the pair was done: it is not reported
};

PairResult ComparePair(const LoadedRecord& first, const LoadedRecord& second, const std::string& pairName,
                       DistanceModel model, Aligner& aligner, std::stop_token stop) {
    PairResult result;
    if (first.problem || second.problem) {
        result.row = ComputePairRow(AlignedPair{}, model);
    } else {
        try {
            const auto pair = aligner.Align(first.record.text, second.record.text, pairName, stop);
            result.row = ComputePairRow(pair, model);
            if (!pair.usable) result.failure = pair.failure;
        } catch (const std::exception& e) {
            result.row = ComputePairRow(AlignedPair{}, model);
            result.failure = e.what();
        }
    }
    result.interrupted = stop.stop_requested();
    return result;
}

// One entry of the run's queue, consumed strictly in loop order.
struct Step {
    enum Kind { Pair, RecordEnd } kind;
    std::size_t first = 0;
    std::size_t second = 0;
    std::shared_ptr<const LoadedRecord> firstRecord;
    std::future<PairResult> result;
};

bool SkippedPair(const SequenceSet& set1, const SequenceSet& set2, const LoadedRecord& a,
                 const LoadedRecord& b) {
    return set1.source == SetSource::Folder && set2.source == SetSource::Folder &&
           a.record.fileName == b.record.fileName;
}

std::size_t PairsToCompare(const SequenceSet& set1, const SequenceSet& set2) {
    std::size_t skipped = 0;
    if (set1.source == SetSource::Folder && set2.source == SetSource::Folder) {
        const std::unordered_set<std::string> names2(set2.fileNames.begin(), set2.fileNames.end());
        for (const auto& name : set1.fileNames) skipped += names2.count(name);
    }
    return set1.count * set2.count - skipped;
}

class Run {
public:
    Run(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options, Aligner& aligner,
        ReportSink& sink, std::stop_token stop)
        : set1_(set1), set2_(set2), options_(options), aligner_(aligner), sink_(sink), stop_(stop),
          window_(std::max(1u, options.concurrentPairs)), total_(PairsToCompare(set1, set2)) {
        if (window_ > 1) workers_ = std::make_unique<WorkerPool>(static_cast<unsigned>(window_));
    }

    RunSummary Go() {
        sink_.Append(WriteReportHeader(options_.model, options_.bannerDate));
        // Set 2 is read once and held for the run rather than read again for every set-1 record.
        records2_.reserve(set2_.count);
        for (std::size_t k = 0; k < set2_.count; ++k) {
            records2_.push_back(Load(set2_, k));
            if (records2_.back().problem) sink_.Warning(*records2_.back().problem);
        }
        Produce();
        while (!queue_.empty()) ConsumeFront();
        sink_.Append(best_.Text());
        summary_.stopped = cut_ || producerStopped_;
        return summary_;
    }

private:
    void Produce() {
        for (std::size_t i = 0; i < set1_.count; ++i) {
            if ((producerStopped_ = stop_.stop_requested())) return;
            auto record1 = std::make_shared<const LoadedRecord>(Load(set1_, i));
            if (record1->problem) sink_.Warning(*record1->problem);
            for (std::size_t k = 0; k < records2_.size(); ++k) {
                if ((producerStopped_ = stop_.stop_requested())) return;
                if (SkippedPair(set1_, set2_, *record1, records2_[k])) continue;
                while (inFlight_ >= window_) ConsumeFront();
                Push(Step{Step::Pair, i, k, record1, Start(record1, records2_[k], PairName(i, k))});
                ++inFlight_;
            }
            Push(Step{Step::RecordEnd, i, 0, record1, {}});
        }
    }

    // One pair at a time runs in this thread when its row is due; more go to the workers.
    std::future<PairResult> Start(std::shared_ptr<const LoadedRecord> first, const LoadedRecord& second,
                                  std::string pairName) {
        auto task = std::make_shared<std::packaged_task<PairResult()>>(
            [first = std::move(first), &second, pairName = std::move(pairName), this] {
                return ComparePair(*first, second, pairName, options_.model, aligner_, stop_);
            });
        auto result = task->get_future();
        if (workers_) {
            workers_->Submit([task] { (*task)(); });
        } else {
            deferred_ = task;
        }
        return result;
    }

    void Push(Step step) {
        queue_.push_back(std::move(step));
        // A record's end needs no waiting: hand it on at once when no pair is ahead of it.
        while (!queue_.empty() && queue_.front().kind != Step::Pair) ConsumeFront();
    }

    // After a stop the report keeps the pairs done before it, in loop order, up to the first one
    // the stop caught; whatever follows is dropped.
    void ConsumeFront() {
        Step step = std::move(queue_.front());
        queue_.pop_front();
        if (step.kind == Step::Pair) --inFlight_;
        if (cut_) return;
        if (step.kind == Step::RecordEnd) {
            BeginRecordOnce(step);
            sink_.RecordFinished(step.first);
            return;
        }
        if (deferred_) {
            (*deferred_)();
            deferred_.reset();
        }
        const auto result = step.result.get();
        if (result.interrupted) {
            cut_ = true;
            return;
        }
        BeginRecordOnce(step);
        Emit(step, result);
    }

    void BeginRecordOnce(const Step& step) {
        if (begunRecords_ > step.first) return;
        best_.BeginRecord(step.firstRecord->record.name);
        begunRecords_ = step.first + 1;
    }

    void Emit(const Step& step, const PairResult& result) {
        const auto& name1 = step.firstRecord->record.name;
        const auto& name2 = records2_[step.second].record.name;
        const auto& sep = options_.decimalSeparator;
        sink_.Append(PairRowText(name1, name2, result.row, options_.model, sep));
        const auto ranking = result.row.RankingDistance(options_.model);
        best_.Offer(name2, ranking, ValueText(ranking, sep));
        ++summary_.pairsCompared;
        if (result.row.HasNA(options_.model)) ++summary_.pairsFailed;
        if (!result.failure.empty())
            sink_.Warning("pair " + PairName(step.first, step.second) + " (" + name1 + ", " + name2 +
                          "): " + result.failure);
        sink_.Progress(summary_.pairsCompared, total_);
    }

    const SequenceSet& set1_;
    const SequenceSet& set2_;
    const RunOptions& options_;
    Aligner& aligner_;
    ReportSink& sink_;
    std::stop_token stop_;
    const std::size_t window_;
    const std::size_t total_;
    // In this order: pairs in flight refer to records2_, and the workers end before it goes.
    std::vector<LoadedRecord> records2_;
    std::unique_ptr<WorkerPool> workers_;
    std::shared_ptr<std::packaged_task<PairResult()>> deferred_;
    std::deque<Step> queue_;
    std::size_t inFlight_ = 0;
    std::size_t begunRecords_ = 0;
    bool cut_ = false;
    bool producerStopped_ = false;
    BestMatches best_;
    RunSummary summary_;
};

}  // namespace

RunSummary RunComparison(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options,
                         Aligner& aligner, ReportSink& sink, std::stop_token stop) {
    if (const auto message = aligner.CheckAvailable(); !message.empty()) throw AlignerUnavailable(message);
    return Run(set1, set2, options, aligner, sink, stop).Go();
}

}  // namespace kadrel
