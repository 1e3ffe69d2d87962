#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "distances/DistanceModel.h"
#include "distances/PairRow.h"

namespace kadrel {

// The one reader of what a report or a backup holds, line by line: its banner, its column
// titles, its pair rows, its "Best matches:" block and the line of a stopped run. Merging,
// drawing and resuming each decide what to make of a line; none of them takes a line apart itself.

// The text between tabs, every one of them (an empty line is one empty field).
std::vector<std::string_view> ReportFields(std::string_view line);

// A row's or best-match line's number as written, with either decimal separator, or NA (no
// value); false when it is neither, or not finite.
bool ReadReportValue(std::string_view field, Value& value);

// The first line of a report: the banner with Kadrel's attribution.
bool IsReportBanner(std::string_view line);
// Whether a line is the column-title line Kadrel writes for some model, with either formulas.
bool IsKnownColumnTitles(std::string_view line);

// What the column-title line says of the rows below it.
struct ReportColumns {
    bool modelColumn = false;
    std::size_t titleCount = 0;     // fields of the title line
    std::size_t rowFields = 9;      // fields of a row: two names and 7 or 8 numbers
    std::size_t rankingColumn = 4;  // the field best matches are chosen by: the model's, or p-Dist
};
// A line that begins as every title line does ("Seq1", tab, "Seq2", tab); none otherwise. It has
// a model column when its tenth title is not empty.
std::optional<ReportColumns> ReadReportColumns(std::string_view titles);
// The columns of a run of `model`.
ReportColumns ColumnsOfModel(DistanceModel model);

// The lines after the column titles: rows, then "Best matches:", its lines and, for a stopped
// run, the stopped line.
class ReportBodyReader {
public:
    enum class Kind { Row, BestMatchesStart, BestMatch, Stopped, Unknown };
    struct Line {
        Kind kind = Kind::Unknown;
        std::vector<std::string_view> fields;
        std::size_t expectedFields = 0;  // what a line of this block holds: a row's or a best match's
    };
    explicit ReportBodyReader(const ReportColumns& columns) : columns_(columns) {}
    // Unknown: a line whose fields are not those of the block it stands in.
    Line Read(std::string_view line);
    bool InBestMatches() const { return inBestMatches_; }

private:
    ReportColumns columns_;
    bool inBestMatches_ = false;
};

// The numbers of a row (its fields after the two names) into `row`; false when one is neither a
// number nor NA, or there are not as many as the row's columns.
bool ReadPairRowValues(const std::vector<std::string_view>& fields, const ReportColumns& columns, PairRow& row);
// Whether a row holds NA after its names.
bool RowHoldsNA(const std::vector<std::string_view>& fields);

// The lines of a text held whole, at CR LF, LF or a lone CR.
class ReportTextLines {
public:
    explicit ReportTextLines(std::string_view text) : text_(text) {}
    // The next line without its end, and the end (empty for a last line cut short).
    bool Next(std::string_view& line, std::string_view& end);
    std::size_t Offset() const { return at_; }  // where the next line begins

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace kadrel
