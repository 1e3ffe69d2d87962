#pragma once
#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/ReportOutput.h"

namespace kadrel::cli {

// The square distance matrix of a set compared with itself, in the form of `compare --matrix`
// (a first line of the names after an empty cell, then one line per record, its name first; 0 on
// the diagonal, NA for a failed pair, an empty cell for a pair a stop cut off).
// A run finishes record i knowing only its distances to the records after it, and the lines need
// both halves, so each record's half-line goes to an unnamed temporary file (8 bytes a pair, freed
// by the system however the run ends) and the lines are made at the end in blocks of records,
// each block one pass over that file: memory stays at a few megabytes whatever the records.
class SquareMatrix {
public:
    explicit SquareMatrix(std::size_t records);
    // Empty when the temporary file could be made, else the reason.
    std::string Problem() const { return problem_; }
    // Record i's distances to records i+1, ...: NaN for NA, infinity for a pair not done.
    void Row(std::size_t i, const std::vector<double>& later);
    // Writes the whole matrix; records whose half-line never came read as not done.
    std::optional<std::string> Write(ReportOutput& out, const std::vector<std::string>& names);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::size_t records_;
    std::size_t rowsDone_ = 0;
    std::unique_ptr<std::FILE, Closer> spill_;
    std::string problem_;
};

}  // namespace kadrel::cli
