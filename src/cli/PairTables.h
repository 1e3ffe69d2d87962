#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ReportOutput.h"
#include "distances/DistanceModel.h"
#include "distances/PairRow.h"

namespace kadrel::cli {

// Tables of a run for other programs (R, Python, spreadsheets): tab-separated, LF line ends, a
// point as decimal separator whatever the locale, "NA" as in the report. A name holding a double
// quote is quoted, the quote doubled, as spreadsheet readers expect. A pair skipped for the same
// file name in both folder sets reads "skipped", which readers take as missing when told to
// (R: na.strings = c("NA", "skipped")).

// One row per compared pair, in report order; nothing is kept.
class PairTableWriter {
public:
    PairTableWriter(ReportOutput& out, DistanceModel model);
    void Row(std::string_view name1, std::string_view name2, const PairRow& row);
    // A pair skipped for the same file name in both folder sets: "skipped" in every value column.
    void SkippedRow(std::string_view name1, std::string_view name2);

private:
    ReportOutput& out_;
    DistanceModel model_;
};

// The run's distance (the model's, or p under none) as a set-1 x set-2 table: a header of the
// set-2 names, then one line per set-1 record, written once the record is done. A pair skipped
// for the same file in two folder sets reads "skipped"; one cut by a stop is an empty cell.
class DistanceMatrixWriter {
public:
    DistanceMatrixWriter(ReportOutput& out, DistanceModel model);
    void Columns(const std::vector<std::string>& names2);
    void BeginLine(std::string_view name1);
    void Cell(std::size_t second, const PairRow& row);
    void SkippedCell(std::size_t second);
    // Writes the line begun, if any.
    void EndLine();

private:
    ReportOutput& out_;
    DistanceModel model_;
    std::optional<std::string> name1_;
    std::vector<std::string> cells_;  // one set-1 record's, never the whole table
};

}  // namespace kadrel::cli
