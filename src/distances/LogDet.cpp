#include <cmath>

#include "distances/Models.h"
#include "distances/StepArithmetic.h"

namespace kadrel {

using step::Div;
using step::Finished;
using step::Ln;

namespace {

// The 3 x 3 determinant of F without row `skip` and without the first column, by the six-term
// rule with its terms in a fixed order.
double ColumnOneMinor(const double F[4][4], int skip) {
    int r[3];
    for (int i = 0, k = 0; i < 4; ++i) {
        if (i != skip) r[k++] = i;
    }
    const auto f = [&](int row, int column) { return F[r[row]][column]; };
    return f(0, 1) * f(1, 2) * f(2, 3) + f(0, 2) * f(1, 3) * f(2, 1) + f(0, 3) * f(1, 1) * f(2, 2) -
           f(0, 3) * f(1, 2) * f(2, 1) - f(0, 1) * f(1, 3) * f(2, 2) - f(0, 2) * f(1, 1) * f(2, 3);
}

}  // namespace

// The matrix is oriented [base of second][base of first], and the expansion takes the absolute
// value of each column-one minor: both are part of how this distance is defined, so swapping
// the two sequences can change it.
Value LogDetDistance(const PairCounts& counts, double comparedLength) {
    double F[4][4];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) F[i][j] = Div(counts.pairMatrix[i][j], comparedLength);
    }
    double M[4];
    for (int r = 0; r < 4; ++r) M[r] = ColumnOneMinor(F, r);
    const double D = ((F[0][0] * std::fabs(M[0]) - F[1][0] * std::fabs(M[1])) + F[2][0] * std::fabs(M[2])) -
                     F[3][0] * std::fabs(M[3]);
    return Finished(-Ln(D));
}

}  // namespace kadrel
