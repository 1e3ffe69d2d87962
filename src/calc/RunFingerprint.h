#pragma once
#include <string>
#include <vector>

#include "calc/RunComparison.h"

namespace kadrel {

// 16 hexadecimal digits that stand for what decides a run's rows: the two sets (a file set by
// its text, a folder set by its files' names and sizes), the model, the formulas, the best-match
// choice and the aligner. The shards of one run share it; a shard of another run has another.
std::string RunFingerprint(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options);

// The same 16 digits for a list of texts, for what else a command's run stands for.
std::string TextsFingerprint(const std::vector<std::string>& texts);

}  // namespace kadrel
