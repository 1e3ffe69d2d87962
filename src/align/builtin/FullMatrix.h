#pragma once
#include <string>

struct parasail_matrix;

namespace kadrel {

// An optimal global alignment's columns (see GapPlacement.h) by parasail's SIMD dynamic programme
// over the whole matrix, under the built-in scoring; empty when parasail fails (out of memory).
class FullMatrixProgramme {
public:
    FullMatrixProgramme();
    ~FullMatrixProgramme();
    FullMatrixProgramme(const FullMatrixProgramme&) = delete;
    FullMatrixProgramme& operator=(const FullMatrixProgramme&) = delete;

    std::string Columns(const std::string& first, const std::string& second) const;

private:
    parasail_matrix* matrix_;
};

}  // namespace kadrel
