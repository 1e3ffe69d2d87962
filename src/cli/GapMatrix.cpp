#include "cli/GapMatrix.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "calc/TableText.h"
#include "distances/NumberText.h"

namespace kadrel::cli {
namespace {

constexpr double kNotDone = std::numeric_limits<double>::infinity();
// Cells of one block held at once: 32 MB.
constexpr std::size_t kBlockCells = std::size_t{4} << 20;

std::string CellText(double value) {
    if (std::isnan(value)) return "NA";
    if (std::isinf(value)) return "";
    return NumberText(value);
}

}  // namespace

SquareMatrix::SquareMatrix(std::size_t records) : records_(records), spill_(std::tmpfile()) {
    if (!spill_) problem_ = std::string("cannot make a temporary file for --matrix: ") + std::strerror(errno);
}

void SquareMatrix::Row(std::size_t i, const std::vector<double>& later) {
    if (!spill_ || !problem_.empty() || i != rowsDone_) return;
    if (!later.empty() && std::fwrite(later.data(), sizeof(double), later.size(), spill_.get()) != later.size())
        problem_ = std::string("writing the temporary file of --matrix failed: ") + std::strerror(errno);
    ++rowsDone_;
}

std::optional<std::string> SquareMatrix::Write(ReportOutput& out, const std::vector<std::string>& names) {
    if (!problem_.empty()) return problem_;
    std::string header;
    for (const auto& name : names) header += '\t' + TableName(name);
    out.Write(header += '\n');
    const std::size_t n = records_;
    const std::size_t block = std::max<std::size_t>(1, kBlockCells / std::max<std::size_t>(1, n));
    std::vector<double> cells, half;
    for (std::size_t begin = 0; begin < n; begin += block) {
        const std::size_t end = std::min(n, begin + block);
        cells.assign((end - begin) * n, kNotDone);
        for (std::size_t r = begin; r < end; ++r) cells[(r - begin) * n + r] = 0;
        // Rows before the block give its records' earlier columns; its own rows their later ones.
        std::rewind(spill_.get());
        for (std::size_t r = 0; r < std::min(end, rowsDone_); ++r) {
            half.resize(n - 1 - r);
            if (!half.empty() && std::fread(half.data(), sizeof(double), half.size(), spill_.get()) != half.size())
                return std::string("reading the temporary file of --matrix failed: ") + std::strerror(errno);
            for (std::size_t k = 0; k < half.size(); ++k) {
                const std::size_t j = r + 1 + k;
                if (j >= begin && j < end) cells[(j - begin) * n + r] = half[k];
                if (r >= begin) cells[(r - begin) * n + j] = half[k];
            }
        }
        for (std::size_t r = begin; r < end; ++r) {
            std::string line = TableName(names[r]);
            for (std::size_t j = 0; j < n; ++j) (line += '\t') += CellText(cells[(r - begin) * n + j]);
            out.Write(line += '\n');
        }
        if (!out.Flush()) return out.Problem();
    }
    return std::nullopt;
}

}  // namespace kadrel::cli
