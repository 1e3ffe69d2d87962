#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/RunComparison.h"

namespace kadrel {

// FNV-1a over a sequence of texts: the fingerprint tells runs apart, it guards against no one.
class FingerprintHash {
public:
    void Add(std::string_view text);
    void Add(std::uintmax_t number) { Add(std::to_string(number)); }
    std::string Hex() const;  // 16 hexadecimal digits

private:
    std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

// 16 hexadecimal digits that stand for what decides a run's rows: the two sets (a file set by
// its text, a folder set by its files' names and sizes), the model, the formulas, the best-match
// choice, the aligner and the run's details (RunOptions::runDetails). The shards of one run share
// it; a shard of another run has another.
std::string RunFingerprint(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options);

// The same in two steps, the sets first: so that many options can be tried against sets hashed
// once (a folder set's files are looked at one by one).
FingerprintHash SetsHash(const SequenceSet& set1, const SequenceSet& set2);
std::string RunFingerprint(FingerprintHash sets, const RunOptions& options);

// The same 16 digits for a list of texts, for what else a command's run stands for.
std::string TextsFingerprint(const std::vector<std::string>& texts);

}  // namespace kadrel
