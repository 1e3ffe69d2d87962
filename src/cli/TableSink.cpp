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
    tablePath_ = table;
    matrixPath_ = matrix;
    for (auto [file, path] : {std::pair{&tableFile_, &table}, std::pair{&matrixFile_, &matrix}}) {
        if (path->empty()) continue;
        file->open(*path, std::ios::binary | std::ios::trunc);
        if (!*file) return "cannot write \"" + *path + "\"";
    }
    if (!table.empty()) table_.emplace(tableFile_, model);
    if (!matrix.empty()) matrix_.emplace(matrixFile_, model);
    return std::nullopt;
}

std::optional<std::string> TableSink::Finish() {
    if (matrix_) matrix_->EndLine();
    for (auto [file, path] : {std::pair{&tableFile_, &tablePath_}, std::pair{&matrixFile_, &matrixPath_}}) {
        if (!path->empty() && !file->flush()) return "writing \"" + *path + "\" failed";
    }
    return std::nullopt;
}

bool TableSink::Good() const { return !(table_ && !tableFile_) && !(matrix_ && !matrixFile_); }

void TableSink::RecordFinished(std::size_t index) {
    if (matrix_) matrix_->EndLine();
    // On disk with the report's rows, and a full disk noticed as soon.
    if (table_) tableFile_.flush();
    if (matrix_) matrixFile_.flush();
    inner_.RecordFinished(index);
    if (!Good()) stop_.request_stop();
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

}  // namespace kadrel::cli
