#pragma once
#include <QString>
#include <functional>
#include <string>
#include <vector>

QT_BEGIN_NAMESPACE
class QChart;
QT_END_NAMESPACE

// Writing a chart as a picture file, the same for every picture Kadrel draws.
namespace kadrel::ui {

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts`.
double AxisStep(double span, double parts);

// The picture kinds a chart can be saved as, by extension: "svg", then the image kinds this Qt
// writes ("bmp", "jpg", "png", ...).
std::vector<std::string> PictureExtensions();

// Draws the chart (taken over, and deleted) into `path`: SVG for a path ending in .svg, else an
// image of the type its suffix names. An empty string on success, else a message naming the file
// and the problem (a failed write with the system's reason).
QString SaveChart(QChart* chart, const QString& path);

// Runs `save` (which calls SaveChart) for the command line, which has no application object and
// perhaps no display: one is made offscreen when there is none.
std::string DrawChartOffscreen(const std::function<QString()>& save);

}  // namespace kadrel::ui
