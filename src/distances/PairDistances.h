#pragma once
#include <optional>

#include "sites/PairCounts.h"

namespace kadrel {

// A value that may have failed (division by zero, logarithm of a number not above 0, any
// non-finite result); a failed value is written NA and poisons every value computed from it.
using Value = std::optional<double>;

struct PairDistances {
    double comparedLength = 0;
    Value pDistance;                  // rounded to 3 places
    Value transitionShare;            // P, unrounded
    Value transversionShare;          // Q, unrounded
    Value tsTvRatio;                  // rounded to 3 places
    Value gcContent;                  // theta, rounded to 2 places
    Value purineTransitionShare;      // P1
    Value pyrimidineTransitionShare;  // P2
};

PairDistances DerivePairDistances(const PairCounts& counts, double length);

}  // namespace kadrel
