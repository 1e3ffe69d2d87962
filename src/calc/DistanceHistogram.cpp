#include "calc/DistanceHistogram.h"

#include <algorithm>
#include <cmath>

namespace kadrel {
namespace {

constexpr double kBinsWanted = 40;
// The values are rounded to a few decimals; a value on a bin's edge must not fall short of it.
constexpr double kEdgeSlack = 1e-9;

double NiceWidth(double atLeast) {
    const double power = std::pow(10.0, std::floor(std::log10(atLeast)));
    for (const double step : {1.0, 2.0, 5.0}) {
        if (step * power >= atLeast * (1 - kEdgeSlack)) return step * power;
    }
    return 10 * power;
}

ThresholdCounts Count(const std::vector<std::optional<double>>& values, double threshold) {
    ThresholdCounts counts;
    for (const auto& value : values) {
        if (!value) ++counts.na;
        else if (*value < threshold) ++counts.below;
        else ++counts.atOrAbove;
    }
    return counts;
}

}  // namespace

DistanceHistogram MakeDistanceHistogram(const ReportDistances& report, double threshold) {
    DistanceHistogram histogram;
    histogram.pairsCounts = Count(report.pairs, threshold);
    histogram.bestCounts = Count(report.best, threshold);
    double low = 0, high = 0;
    bool any = false;
    for (const auto* values : {&report.pairs, &report.best}) {
        for (const auto& value : *values) {
            if (!value) continue;
            low = any ? std::min(low, *value) : *value;
            high = any ? std::max(high, *value) : *value;
            any = true;
        }
    }
    if (!any) return histogram;
    histogram.width = NiceWidth(std::max(high - std::min(low, 0.0), 0.01) / kBinsWanted);
    histogram.start = std::min(0.0, std::floor(low / histogram.width + kEdgeSlack) * histogram.width);
    const auto bin = [&](double value) {
        return static_cast<std::size_t>(std::floor((value - histogram.start) / histogram.width + kEdgeSlack));
    };
    const std::size_t bins = bin(high) + 1;
    histogram.pairs.assign(bins, 0);
    histogram.best.assign(bins, 0);
    for (const auto& value : report.pairs) {
        if (value) ++histogram.pairs[bin(*value)];
    }
    for (const auto& value : report.best) {
        if (value) ++histogram.best[bin(*value)];
    }
    return histogram;
}

}  // namespace kadrel
