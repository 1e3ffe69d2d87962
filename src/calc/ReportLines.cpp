#include "calc/ReportLines.h"

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
constexpr std::size_t kBestMatchFields = 3;

}  // namespace

std::vector<std::string_view> ReportFields(std::string_view line) { return SplitFields(line, '\t'); }

bool ReadReportValue(std::string_view field, Value& value) {
    if (field == "NA") {
        value.reset();
        return true;
    }
    // A report saved where the decimal separator is a comma is read as well as one with a point.
    std::string text(field);
    std::replace(text.begin(), text.end(), ',', '.');
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number)) return false;
    value = number;
    return true;
}

bool IsReportBanner(std::string_view line) {
    return StartsAsReport(line) && line.find("     Kadrel ") != std::string_view::npos;
}

bool IsKnownColumnTitles(std::string_view line) {
    for (int model = 0; model <= static_cast<int>(DistanceModel::LogDet); ++model) {
        for (const bool textbook : {false, true}) {
            const std::string titles = ColumnTitleLine(static_cast<DistanceModel>(model), textbook);
            if (line == std::string_view(titles).substr(0, titles.size() - 2)) return true;
        }
    }
    return false;
}

std::optional<ReportColumns> ReadReportColumns(std::string_view titles) {
    if (!titles.starts_with(kTitleStart)) return std::nullopt;
    const auto fields = ReportFields(titles);
    ReportColumns columns;
    columns.titleCount = fields.size();
    // Without a model the title line ends in a tab, an empty tenth title that no row has a field for.
    columns.modelColumn = fields.size() > kModelColumn && !fields[kModelColumn].empty();
    columns.rowFields = columns.modelColumn ? kModelColumn + 1 : kModelColumn;
    columns.rankingColumn = columns.modelColumn ? kModelColumn : kPColumn;
    return columns;
}

ReportColumns ColumnsOfModel(DistanceModel model) {
    const std::string titles = ColumnTitleLine(model);
    return *ReadReportColumns(std::string_view(titles).substr(0, titles.size() - 2));
}

ReportBodyReader::Line ReportBodyReader::Read(std::string_view line) {
    Line read;
    if (!inBestMatches_ && line == kBestMatchesLine) {
        inBestMatches_ = true;
        read.kind = Kind::BestMatchesStart;
        return read;
    }
    if (inBestMatches_ && IsStoppedLine(line)) {
        read.kind = Kind::Stopped;
        return read;
    }
    read.fields = ReportFields(line);
    read.expectedFields = inBestMatches_ ? kBestMatchFields : columns_.rowFields;
    if (read.fields.size() == read.expectedFields) read.kind = inBestMatches_ ? Kind::BestMatch : Kind::Row;
    return read;
}

bool ReadPairRowValues(const std::vector<std::string_view>& fields, const ReportColumns& columns, PairRow& row) {
    Value* const values[] = {&row.length, &row.differences, &row.pDistance, &row.gaps, &row.transitions,
                             &row.transversions, &row.tsTvRatio, &row.modelDistance};
    if (fields.size() != columns.rowFields) return false;
    for (std::size_t f = 2; f < fields.size(); ++f) {
        if (!ReadReportValue(fields[f], *values[f - 2])) return false;
    }
    return true;
}

bool RowHoldsNA(const std::vector<std::string_view>& fields) {
    return fields.size() > 2 && std::find(fields.begin() + 2, fields.end(), "NA") != fields.end();
}

bool ReportTextLines::Next(std::string_view& line, std::string_view& end) {
    if (at_ >= text_.size()) return false;
    const auto stop = std::min(text_.find_first_of("\r\n", at_), text_.size());
    line = text_.substr(at_, stop - at_);
    const std::size_t endSize = stop == text_.size() ? 0 : text_.compare(stop, 2, "\r\n") == 0 ? 2 : 1;
    end = text_.substr(stop, endSize);
    at_ = stop + endSize;
    return true;
}

}  // namespace kadrel
