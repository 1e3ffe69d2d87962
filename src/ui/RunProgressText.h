#pragma once
#include <QString>
#include <chrono>
#include <cstddef>

namespace kadrel::ui {

// "12 / 40 pairs"
QString PairsDoneText(std::size_t pairsDone, std::size_t pairsTotal);

// "12 / 40 pairs, about 3 min left": the estimate assumes the pairs still to come take as long
// as those done so far. No estimate before the first pair or after the last.
QString RunProgressText(std::size_t pairsDone, std::size_t pairsTotal, std::chrono::milliseconds elapsed);

// "45 s", "3 min", "1 h 05 min"; seconds are rounded up so that a short wait never reads 0.
QString DurationText(std::chrono::milliseconds duration);

}  // namespace kadrel::ui
