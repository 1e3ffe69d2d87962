#include "cli/TableSink.h"

#include <filesystem>
#include <tuple>

#include "cli/OutputSafety.h"

namespace kadrel::cli {
std::optional<std::string> TableFilesProblem(const SequenceSet& set1, const SequenceSet& set2,
                                             const std::string& table, const std::string& matrix,
                                             const std::vector<std::string>& otherOutputs) {
    for (const auto& [option, path, other] : {std::tuple{"--table", &table, &matrix},
                                              std::tuple{"--matrix", &matrix, &table}}) {
        if (path->empty()) continue;
        if (const auto problem = OutputProblem(set1, set2, *path, "")) return std::string(option) + ": " + *problem;
        std::vector<std::string> outputs = otherOutputs;
        outputs.push_back(*other);
        for (const auto& output : outputs) {
            if (!output.empty() && SameFile(*path, output))
                return std::string(option) + ": \"" + *path + "\" is another output of the run; choose another file";
        }
    }
    return std::nullopt;
}

TableSink::TableSink(ReportSink& inner, std::stop_source stop) : inner_(inner), stop_(std::move(stop)) {}

std::optional<std::string> TableSink::Open(const std::string& table, const std::string& matrix,
                                           DistanceModel model) {
    if (!table.empty()) {
        tableFile_.emplace(table);
        if (tableFile_->Failed()) return Problem();
        table_.emplace(*tableFile_, model);
    }
    if (!matrix.empty()) {
        matrixFile_.emplace(matrix);
        if (matrixFile_->Failed()) return Problem();
        matrix_.emplace(*matrixFile_, model);
    }
    return std::nullopt;
}

std::optional<std::string> TableSink::Finish() {
    if (matrix_) matrix_->EndLine();
    for (auto& file : {&tableFile_, &matrixFile_})
        if (*file) (*file)->Close();
    return Problem();
}

std::optional<std::string> TableSink::Problem() const {
    if (tableFile_ && tableFile_->Failed()) return "--table: " + tableFile_->Problem();
    if (matrixFile_ && matrixFile_->Failed()) return "--matrix: " + matrixFile_->Problem();
    return std::nullopt;
}

void TableSink::RecordFinished(std::size_t index) {
    if (matrix_) matrix_->EndLine();
    // On disk with the report's rows, and a full disk noticed as soon.
    for (auto& file : {&tableFile_, &matrixFile_})
        if (*file) (*file)->Flush();
    inner_.RecordFinished(index);
    if (Problem()) stop_.request_stop();
}

void TableSink::SecondNames(const std::vector<std::string>& names) {
    if (matrix_) matrix_->Columns(names);
}

void TableSink::RecordBegun(std::size_t, std::string_view name) {
    if (matrix_) matrix_->BeginLine(name);
}

void TableSink::PairDone(std::size_t, std::size_t second, std::string_view name1, std::string_view name2,
                         const PairRow& row) {
    if (table_) table_->Row(name1, name2, row);
    if (matrix_) matrix_->Cell(second, row);
}

void TableSink::PairSkipped(std::size_t, std::size_t second, std::string_view name1, std::string_view name2) {
    if (table_) table_->SkippedRow(name1, name2);
    if (matrix_) matrix_->SkippedCell(second);
}

}  // namespace kadrel::cli
