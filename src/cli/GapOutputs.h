#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/GapAnalysis.h"
#include "cli/GapMatrix.h"
#include "cli/ReportOutput.h"

namespace kadrel::cli {

// The files `kadrel gap` writes once every pair is in, each named by its option; empty: not
// written (the species table then goes to standard output).
struct GapOutputFiles {
    std::string species, specimens, sweep, matrix, gapPlot, histogram, sweepPlot;
    // (option, file) for every file named.
    std::vector<std::pair<std::string, std::string>> Named() const;
};

// Writes the tables, the matrix (when `matrix` is given) and the pictures of `analysis`; the
// species table to `console` when no file is named for it. Returns the first problem, naming its
// option.
std::optional<std::string> WriteGapOutputs(const GapOutputFiles& files, const GapAnalysis& analysis,
                                           const GapSweep& sweep, SquareMatrix* matrix, ReportOutput& console);

}  // namespace kadrel::cli
