#include "calc/ReportDistances.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "calc/ReportHeader.h"
#include "calc/TextFields.h"

namespace kadrel {
namespace {

constexpr std::string_view kTitleStart = "Seq1\tSeq2\t";
constexpr std::size_t kPColumn = 4;
constexpr std::size_t kModelColumn = 9;

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::optional<double> Number(std::string_view field, std::size_t lineNumber) {
    if (field == "NA") return std::nullopt;
    std::string text(field);
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        throw ReportFormatError("line " + std::to_string(lineNumber) + ": \"" + std::string(field) +
                                "\" is neither a number nor NA");
    return value;
}

}  // namespace

ReportDistances ReadReportDistances(std::string_view text) {
    const auto lines = Lines(text);
    std::size_t title = lines.size();
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (lines[i].starts_with(kTitleStart)) {
            title = i;
            break;
        }
    }
    if (title == lines.size()) throw ReportFormatError("no report found (no line of column titles)");

    ReportDistances report;
    const auto titles = SplitFields(lines[title], '\t');
    const bool model = titles.size() > kModelColumn && !titles[kModelColumn].empty();
    const std::size_t column = model ? kModelColumn : kPColumn;
    const std::size_t rowFields = model ? kModelColumn + 1 : kModelColumn;
    if (titles.size() <= column)
        throw ReportFormatError("line " + std::to_string(title + 1) + ": too few column titles");
    report.title = titles.at(column);

    bool inBest = false;
    for (std::size_t i = title + 1; i < lines.size(); ++i) {
        const std::size_t lineNumber = i + 1;
        if (lines[i].empty()) continue;
        if (!inBest && lines[i] == kBestMatchesLine) {
            inBest = true;
            continue;
        }
        if (inBest && IsStoppedLine(lines[i])) {
            report.stopped = std::string(lines[i]);
            continue;
        }
        const auto fields = SplitFields(lines[i], '\t');
        const std::size_t expected = inBest ? 3 : rowFields;
        if (fields.size() != expected)
            throw ReportFormatError("line " + std::to_string(lineNumber) + " holds " + std::to_string(fields.size()) +
                                    " fields where a " + (inBest ? "best-match line" : "report row") + " holds " +
                                    std::to_string(expected));
        if (inBest) report.best.push_back(Number(fields[2], lineNumber));
        else report.pairs.push_back(Number(fields[column], lineNumber));
    }
    return report;
}

std::optional<std::string> NothingToDraw(const ReportDistances& report) {
    if (report.pairs.empty()) return "the report holds no pair; there is nothing to draw";
    if (std::none_of(report.pairs.begin(), report.pairs.end(), [](const auto& v) { return v.has_value(); }))
        return "every distance of the report is NA; there is nothing to draw";
    return std::nullopt;
}

}  // namespace kadrel
