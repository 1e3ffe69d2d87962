#pragma once

#include "align/AlignedPair.h"
#include "sites/PairCounts.h"

namespace kadrel {

// One directional pass over the sites 1..length: the character of `first` selects the rule,
// the character of `second` is looked up in it. Sites past the stored text count as empty.
PairCounts CompareSites(const AlignedPair& pair);

}  // namespace kadrel
