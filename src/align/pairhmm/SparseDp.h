#pragma once
#include <string>
#include <vector>

#include "align/pairhmm/Library.h"

namespace kadrel::pairhmm {

// One column of the alignment of P and Q: a residue position of each (from 1), 0 for a gap.
struct Column {
    int p = 0;
    int q = 0;
};

// t_coffee's "linked pair-wise" programme: an alignment of P (length l1) and Q (length l2,
// l1 <= l2) that collects the most point score, with every gap free. Only the library's points,
// the bridges between its diagonal runs and the borders are visited, so the cost follows the
// number of points, not l1 * l2.
std::vector<Column> SparseAlignment(const std::vector<Point>& libraryPoints, int l1, int l2);

}  // namespace kadrel::pairhmm
