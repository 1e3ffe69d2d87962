#pragma once
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "calc/ReportDistances.h"
#include "ui/ChartFile.h"

QT_BEGIN_NAMESPACE
class QChart;
QT_END_NAMESPACE

namespace kadrel::ui {

// The threshold drawn when none is chosen: the usual 2% of barcode identification.
constexpr double kDefaultThreshold = 0.02;

// A histogram of all pair distances with the best-match distances over it, the threshold as a
// vertical line and the counts below and above it in the legend. The caller owns the chart.
// Its first series stacks, per bin, the best matches (set 0) and the other pairs (set 1).
QChart* MakeDistanceChart(const ReportDistances& report, double threshold);

// Draws the chart into `path`: SVG for a path ending in .svg, else an image of the type its
// suffix names. An empty string on success, else a message naming the file and the problem (a
// failed write with the system's reason).
QString SaveDistanceChart(const ReportDistances& report, double threshold, const QString& path);

// The same for the command line, which has no application object and perhaps no display.
std::string DrawReportChart(const ReportDistances& report, double threshold, const std::string& path);

}  // namespace kadrel::ui
