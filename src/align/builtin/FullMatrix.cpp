#include "align/builtin/FullMatrix.h"

#include <parasail.h>

#include "align/builtin/GapPlacement.h"

namespace kadrel {
namespace {

constexpr int kMismatch = 3;
constexpr int kGapOpen = 5;  // a gap of n sites costs kGapOpen + n * kGapExtend
constexpr int kGapExtend = 2;

}  // namespace

FullMatrixProgramme::FullMatrixProgramme() : matrix_(parasail_matrix_create("ACGT", 0, -kMismatch)) {
    // The matrix's fifth row and column stand for every other character: a mismatch too.
    for (int i = 0; i < 5; ++i) {
        parasail_matrix_set_value(matrix_, i, 4, -kMismatch);
        parasail_matrix_set_value(matrix_, 4, i, -kMismatch);
    }
}

FullMatrixProgramme::~FullMatrixProgramme() { parasail_matrix_free(matrix_); }

std::string FullMatrixProgramme::Columns(const std::string& first, const std::string& second) const {
    const int n = static_cast<int>(first.size());
    const int m = static_cast<int>(second.size());
    parasail_result_t* result =
        parasail_nw_trace_scan_16(first.data(), n, second.data(), m, kGapOpen + kGapExtend, kGapExtend, matrix_);
    if (result != nullptr && parasail_result_is_saturated(result)) {
        parasail_result_free(result);
        result = parasail_nw_trace_scan_32(first.data(), n, second.data(), m, kGapOpen + kGapExtend, kGapExtend,
                                           matrix_);
    }
    if (result == nullptr) return {};
    parasail_cigar_t* cigar = parasail_result_get_cigar(result, first.data(), n, second.data(), m, matrix_);
    std::string columns;
    if (cigar != nullptr) {
        columns.reserve(static_cast<std::size_t>(n + m));
        for (int i = 0; i < cigar->len; ++i) {
            const char op = parasail_cigar_decode_op(cigar->seq[i]);
            const char column = op == 'I' ? kFirstOnly : op == 'D' ? kSecondOnly : kBoth;
            columns.append(parasail_cigar_decode_len(cigar->seq[i]), column);
        }
        parasail_cigar_free(cigar);
    }
    parasail_result_free(result);
    return columns;
}

}  // namespace kadrel
