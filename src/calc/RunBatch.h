#pragma once
#include <chrono>
#include <cstddef>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include <stop_token>

#include "align/Aligner.h"
#include "calc/LoadedRecord.h"
#include "distances/DistanceModel.h"
#include "distances/PairRow.h"

namespace kadrel {

// One pair as a worker leaves it; the caller's thread writes it.
// Nothing in it names the pair, so a pair of the same two sequences can take it as it is.
struct PairResult {
    PairRow row;
    std::string failure;       // why the aligner gave nothing usable; empty otherwise
    int baselessSide = 0;      // 1 or 2: that sequence holds no base once aligned
    bool interrupted = false;  // a stop came before the pair was done: it is not reported
};

// Pairs of one set-1 record (no skipped pair among them, set-2 positions rising), done by one
// worker in a row. A record without any pair to compare still gets a batch, an empty one, for
// its end.
struct Batch {
    std::size_t first = 0;
    std::vector<std::size_t> seconds;
    bool endsRecord = false;
    std::shared_ptr<const LoadedRecord> record1;
    // One per pair. A reused one is an earlier pair's, filled before this batch is reported,
    // since batches are reported in loop order and the worker goes through its own in order.
    std::vector<std::shared_ptr<PairResult>> results;
    std::vector<bool> reused;
    std::size_t aligned = 0;  // pairs the aligner was called for
    std::chrono::steady_clock::duration busy{};
    std::exception_ptr error;
    bool finished = false;  // guarded by the run's mutex
};

// On a worker thread: the pair's row, or why it has none; `interrupted` when the stop came before
// it was done (a pair not begun then never reaches the aligner). True when the aligner was called.
bool AlignPair(const LoadedRecord& first, const LoadedRecord& second, const std::string& pairName, Aligner& aligner,
               DistanceModel model, bool textbook, std::stop_token stop, PairResult& result);

}  // namespace kadrel
