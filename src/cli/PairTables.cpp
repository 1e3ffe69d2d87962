#include "cli/PairTables.h"

#include "calc/TableText.h"
#include "distances/NumberText.h"

namespace kadrel::cli {
namespace {

constexpr std::string_view kSkipped = "skipped";

}  // namespace

PairTableWriter::PairTableWriter(ReportOutput& out, DistanceModel model) : out_(out), model_(model) {
    std::string header = "query\treference\tlength\tdifferences\tp\tgaps\ttransitions\ttransversions\tts_tv";
    if (model_ != DistanceModel::None) (header += '\t') += ModelName(model_);
    // Last, so that readers of the columns before it by position still find them.
    out_.Write(header += "\tcompared\n");
}

void PairTableWriter::Row(std::string_view name1, std::string_view name2, const PairRow& row) {
    std::string line = TableName(name1) + '\t' + TableName(name2);
    for (const Value* v : {&row.length, &row.differences, &row.pDistance, &row.gaps, &row.transitions,
                           &row.transversions, &row.tsTvRatio}) {
        line += '\t';
        line += ValueText(*v, ".");
    }
    if (model_ != DistanceModel::None) line += '\t' + ValueText(row.modelDistance, ".");
    out_.Write((line += '\t' + ValueText(row.compared, ".")) += '\n');
}

void PairTableWriter::SkippedRow(std::string_view name1, std::string_view name2) {
    std::string line = TableName(name1) + '\t' + TableName(name2);
    for (int column = model_ != DistanceModel::None ? 9 : 8; column > 0; --column) (line += '\t') += kSkipped;
    out_.Write(line += '\n');
}

DistanceMatrixWriter::DistanceMatrixWriter(ReportOutput& out, DistanceModel model) : out_(out), model_(model) {}

void DistanceMatrixWriter::Columns(const std::vector<std::string>& names2) {
    std::string header;
    for (const auto& name : names2) header += '\t' + TableName(name);
    out_.Write(header += '\n');
    cells_.assign(names2.size(), std::string());
}

void DistanceMatrixWriter::BeginLine(std::string_view name1) {
    EndLine();
    name1_ = TableName(name1);
}

void DistanceMatrixWriter::Cell(std::size_t second, const PairRow& row) {
    if (second < cells_.size()) cells_[second] = ValueText(row.RankingDistance(model_), ".");
}

void DistanceMatrixWriter::SkippedCell(std::size_t second) {
    if (second < cells_.size()) cells_[second] = kSkipped;
}

void DistanceMatrixWriter::EndLine() {
    if (!name1_) return;
    std::string line = *name1_;
    for (auto& cell : cells_) {
        line += '\t';
        line += cell;
        cell.clear();
    }
    out_.Write(line += '\n');
    name1_.reset();
}

}  // namespace kadrel::cli
