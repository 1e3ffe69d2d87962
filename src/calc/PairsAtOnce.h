#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "calc/SequenceSet.h"

namespace kadrel {

// No more t_coffee processes than this by default, however many cores: each touches some
// 500 MB as it starts, and a large host's cores are seldom all for one user.
constexpr unsigned kMostDefaultPairsAtOnce = 16;

struct PairsAtOnce {
    unsigned pairs = 1;
    std::string notice;  // for standard error, when the choice needs saying; empty otherwise
};

// Pairs aligned at once through t_coffee. `asked` 0 takes the default, one per core up to
// kMostDefaultPairsAtOnce, lowered until the longest pairs fit in `available` bytes at once (at
// least one); an asked number is kept, with a warning when they may not fit. The memory of a
// pair is estimated from the two lengths; `available` empty: not known, not checked.
PairsAtOnce ChooseTCoffeePairsAtOnce(std::vector<std::size_t> lengths1, std::vector<std::size_t> lengths2,
                                     unsigned asked, unsigned cores, std::optional<double> available);

// The same for a run: the records' lengths from the sets (a folder file's size stands for its
// record's length), the cores and MemAvailable of this machine. Other aligners than t_coffee
// take `asked` or one pair per core.
PairsAtOnce ChoosePairsAtOnce(const SequenceSet& set1, const SequenceSet& set2, bool tcoffee, unsigned asked);

}  // namespace kadrel
