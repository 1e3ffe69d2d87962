#include "distances/TextbookModels.h"

#include <cmath>

#include "distances/StepArithmetic.h"
#include "sites/PairCounts.h"

namespace kadrel {
namespace {

using step::Div;
using step::Ln;

struct Shares {
    double p, P1, P2, Q;  // differences, A-G and C-T transitions, transversions: per compared site
    double freq[4];
};

Shares SharesOf(const DefiniteSites& s) {
    const double L = s.Compared();
    Shares shares{Div(s.Differences(), L), Div(s.Transitions(BaseA, BaseG), L), Div(s.Transitions(BaseC, BaseT), L),
                  Div(s.Transversions(), L), {}};
    for (int b = 0; b < 4; ++b) shares.freq[b] = s.BaseShare(b);
    return shares;
}

double JukesCantor(const Shares& s) { return -0.75 * Ln(1 - 4 * s.p / 3); }

double Kimura80(const Shares& s) {
    const double P = s.P1 + s.P2;
    return -0.5 * Ln(1 - 2 * P - s.Q) - 0.25 * Ln(1 - 2 * s.Q);
}

// h sums over the six unordered base pairs; a pair never seen adds nothing even where a base
// is absent from both sequences. Without differences ln(1 - p/b) is ln 1, so d is 0 whatever b.
double TajimaNei(const DefiniteSites& sites, const Shares& s) {
    if (s.p == 0) return 0;
    const double L = sites.Compared();
    double h = 0, sumSquares = 0;
    for (int i = 0; i < 4; ++i) {
        sumSquares += s.freq[i] * s.freq[i];
        for (int j = i + 1; j < 4; ++j) {
            const double x = Div(sites.pairs[i][j] + sites.pairs[j][i], L);
            if (x != 0) h += Div(x * x, 2 * s.freq[i] * s.freq[j]);
        }
    }
    const double b = 0.5 * (1 - sumSquares + Div(s.p * s.p, h));
    return -b * Ln(1 - Div(s.p, b));
}

double Tamura92(const Shares& s) {
    const double gc = s.freq[BaseC] + s.freq[BaseG];
    const double w = 2 * gc * (1 - gc);
    const double P = s.P1 + s.P2;
    return -w * Ln(1 - Div(P, w) - s.Q) - 0.5 * (1 - w) * Ln(1 - 2 * s.Q);
}

double TamuraNei93(const Shares& s) {
    const double A = s.freq[BaseA], C = s.freq[BaseC], G = s.freq[BaseG], T = s.freq[BaseT];
    const double R = A + G, Y = C + T;
    const double k1 = Div(2 * A * G, R), k2 = Div(2 * C * T, Y);
    const double k3 = 2 * (R * Y - Div(A * G * Y, R) - Div(C * T * R, Y));
    return -k1 * Ln(1 - Div(s.P1, k1) - Div(s.Q, 2 * R)) - k2 * Ln(1 - Div(s.P2, k2) - Div(s.Q, 2 * Y)) -
           k3 * Ln(1 - Div(s.Q, 2 * R * Y));
}

double Det3(const double m[4][4], const int r[3], const int c[3]) {
    return m[r[0]][c[0]] * (m[r[1]][c[1]] * m[r[2]][c[2]] - m[r[1]][c[2]] * m[r[2]][c[1]]) -
           m[r[0]][c[1]] * (m[r[1]][c[0]] * m[r[2]][c[2]] - m[r[1]][c[2]] * m[r[2]][c[0]]) +
           m[r[0]][c[2]] * (m[r[1]][c[0]] * m[r[2]][c[1]] - m[r[1]][c[1]] * m[r[2]][c[0]]);
}

// -ln(det F) / 4 - ln 4, F the pairs as shares of the compared sites: 0 for identical sequences
// of equal composition. A determinant not above 0 has no logarithm.
double LogDet(const DefiniteSites& sites) {
    const double L = sites.Compared();
    double F[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) F[i][j] = Div(sites.pairs[i][j], L);
    const int columns[3] = {1, 2, 3};
    double det = 0;
    for (int r = 0; r < 4; ++r) {
        int rows[3], n = 0;
        for (int k = 0; k < 4; ++k)
            if (k != r) rows[n++] = k;
        det += (r % 2 == 0 ? 1 : -1) * F[r][0] * Det3(F, rows, columns);
    }
    return -Ln(det) / 4 - std::log(4.0);
}

}  // namespace

Value TextbookDistance(DistanceModel model, const DefiniteSites& sites) {
    const Shares s = SharesOf(sites);
    switch (model) {
        case DistanceModel::JC: return step::Finished(JukesCantor(s));
        case DistanceModel::K2P: return step::Finished(Kimura80(s));
        case DistanceModel::TN84: return step::Finished(TajimaNei(sites, s));
        case DistanceModel::T3P: return step::Finished(Tamura92(s));
        case DistanceModel::TN93: return step::Finished(TamuraNei93(s));
        case DistanceModel::LogDet: return step::Finished(LogDet(sites));
        case DistanceModel::None: break;
    }
    return std::nullopt;
}

std::string TextbookColumnTitle(DistanceModel model) {
    if (model == DistanceModel::None) return {};
    return std::string(ColumnTitle(model)) + " (textbook)";
}

}  // namespace kadrel
