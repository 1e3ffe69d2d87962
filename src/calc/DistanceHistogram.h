#pragma once
#include <cstddef>
#include <vector>

#include "calc/ReportDistances.h"

namespace kadrel {

// How many values are below the threshold and how many at or above it; NA is neither.
struct ThresholdCounts {
    std::size_t below = 0, atOrAbove = 0, na = 0;
};

// The distances of a report in equal bins: bin i holds the values from start + i * width up to
// (not including) the next bin's start. Both histograms share the bins.
struct DistanceHistogram {
    double start = 0;
    double width = 0;
    std::vector<std::size_t> pairs, best;
    ThresholdCounts pairsCounts, bestCounts;
};

// About forty bins over the values, of a width of 1, 2 or 5 times a power of ten, from 0 (or the
// lowest value when one is negative). No bins when every value is NA.
DistanceHistogram MakeDistanceHistogram(const ReportDistances& report, double threshold);

}  // namespace kadrel
