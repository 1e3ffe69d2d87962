#pragma once
#include <optional>
#include <vector>

#include <QtGlobal>

#include "calc/GapAnalysis.h"
#include "ui/ChartFile.h"

QT_BEGIN_NAMESPACE
class QChart;
QT_END_NAMESPACE

// The pictures of a barcoding-gap analysis. The caller owns each chart.
namespace kadrel::ui {

// Labels drawn at most, so that a poor library still gives a readable picture.
constexpr std::size_t kMostLabels = 30;

// Each species of two or more members as a point, its largest intraspecific distance (x) against
// its distance to the nearest other species (y), and the 1:1 line. Series: 0 the species, 1 the
// line, 2 the records nearer another species (their conspecific distance against the other one),
// then one single-point series per label placed, named after it: the species on or below the
// line, then those records, at most kMostLabels in all. A label's point is its own point, raised
// or lowered by PlaceLabels so that names of close points do not cover each other; one that finds
// no free place is left out, and the title says how many were.
QChart* MakeGapPlot(const GapAnalysis& analysis);

// A name to write above its point: the point and the name's box, in fractions of the plot area.
struct PlotLabel {
    double x = 0, y = 0;           // the point
    double width = 0, height = 0;  // the box, centred on x, its foot at y
};
// For each label in turn, how far its box is moved up (a negative lift: down) from its point so
// that it covers no box placed before it: 0, one box height up, one down, two up, two down, the
// first that is free and not below the plot; none when every one is taken.
std::vector<std::optional<double>> PlaceLabels(const std::vector<PlotLabel>& labels);

// Intraspecific (series 0) and interspecific (series 1) distances as two overlaid step outlines of
// the same bins, each an area series whose upper line runs (start, 0), (start, n0), (end0, n0),
// (end0, n1), ... (end, 0); series 2 the best threshold as a dashed line, when one is given.
QChart* MakeGapHistogram(const GapAnalysis& analysis, std::optional<double> bestThreshold);

// False positives (set 0) and false negatives (set 1) per threshold as stacked bars, in order.
QChart* MakeSweepPlot(const std::vector<SweepCounts>& sweep);

}  // namespace kadrel::ui
