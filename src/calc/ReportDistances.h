#pragma once
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// The distances a report shows: the ranking column of every row (the model's, or p-Dist under
// none) and the value of every "Best matches:" line, in report order; NA as no value.
struct ReportDistances {
    std::string title;  // the column's title, "K2P-dist." or "p-Dist"
    std::vector<std::optional<double>> pairs;
    std::vector<std::optional<double>> best;
    std::string stopped = {};  // the report's StoppedLine, when its run was stopped before the end
};

// A text that is not a report, or a line of it that is not what a report holds.
class ReportFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the last report of `text` (a saved file or the window's box may hold several, one after
// the other), whatever its line ends and decimal separator (point or comma). Throws
// ReportFormatError.
ReportDistances ReadReportDistances(std::string_view text);

// Why a report cannot be drawn: it has no row, or every distance is NA. No value when it can.
std::optional<std::string> NothingToDraw(const ReportDistances& report);

}  // namespace kadrel
