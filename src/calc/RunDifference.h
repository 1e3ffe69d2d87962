#pragma once
#include <string>

#include "calc/RunComparison.h"

namespace kadrel {

// What sets the run a backup or shard was made by apart from this command's, for a refusal to
// name: "made with -m jc, not -m k2p", "made with the two sets in the other order", ... The
// fingerprint cannot be read back, so each choice of the command is tried in turn against
// `recorded`, the run's 16 digits; where no single change gives them, the sets differ.
std::string RunDifference(const std::string& recorded, const SequenceSet& set1, const SequenceSet& set2,
                          const RunOptions& options);

}  // namespace kadrel
