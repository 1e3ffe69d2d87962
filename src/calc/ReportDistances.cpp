#include "calc/ReportDistances.h"

#include <algorithm>

#include "calc/ReportLines.h"

namespace kadrel {
namespace {

std::optional<double> Number(std::string_view field, std::size_t lineNumber) {
    Value value;
    if (!ReadReportValue(field, value))
        throw ReportFormatError("line " + std::to_string(lineNumber) + ": \"" + std::string(field) +
                                "\" is neither a number nor NA");
    return value;
}

}  // namespace

ReportDistances ReadReportDistances(std::string_view text) {
    std::vector<std::string_view> lines;
    ReportTextLines split(text);
    for (std::string_view line, end; split.Next(line, end);) lines.push_back(line);
    std::size_t title = lines.size();
    std::optional<ReportColumns> columns;
    for (std::size_t i = lines.size(); i-- > 0;) {
        if ((columns = ReadReportColumns(lines[i]))) {
            title = i;
            break;
        }
    }
    if (!columns) throw ReportFormatError("no report found (no line of column titles)");
    if (columns->titleCount <= columns->rankingColumn)
        throw ReportFormatError("line " + std::to_string(title + 1) + ": too few column titles");

    ReportDistances report;
    report.title = ReportFields(lines[title]).at(columns->rankingColumn);
    ReportBodyReader body(*columns);
    for (std::size_t i = title + 1; i < lines.size(); ++i) {
        const std::size_t lineNumber = i + 1;
        if (lines[i].empty()) continue;
        const auto line = body.Read(lines[i]);
        switch (line.kind) {
        case ReportBodyReader::Kind::BestMatchesStart: break;
        case ReportBodyReader::Kind::Stopped: report.stopped = std::string(lines[i]); break;
        case ReportBodyReader::Kind::Row: report.pairs.push_back(Number(line.fields[columns->rankingColumn], lineNumber)); break;
        case ReportBodyReader::Kind::BestMatch: report.best.push_back(Number(line.fields[2], lineNumber)); break;
        case ReportBodyReader::Kind::Unknown:
            throw ReportFormatError("line " + std::to_string(lineNumber) + " holds " + std::to_string(line.fields.size()) +
                                    " fields where a " + (body.InBestMatches() ? "best-match line" : "report row") +
                                    " holds " + std::to_string(line.expectedFields));
        }
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
