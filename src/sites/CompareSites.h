#pragma once

#include "align/AlignedPair.h"
#include "sites/PairCounts.h"

namespace kadrel {

// One directional pass over the sites 1..length: the character of `first` selects the rule,
// the character of `second` is looked up in it. Sites past the stored text count as empty.
PairCounts CompareSites(const AlignedPair& pair);

// Whether the classification knows `c`: a base, an ambiguity code or the gap, in either case. A
// site holding any other character (N, ?, digits ...) counts as identical.
bool KnownSiteCharacter(char c);

}  // namespace kadrel
