#include "distances/Models.h"

#include "distances/StepArithmetic.h"

// Every formula is evaluated in the order users reproduce it by hand: sums left to right, a
// product a*b*c as (a*b)*c. Changing that order changes the last printed digit now and then.
namespace kadrel {

using step::Div;
using step::Finished;
using step::Ln;
using step::Or;

Value JukesCantorDistance(double p) {
    return Finished(Ln(1 - (4 * p) / 3) * -3 / 4);
}

Value Kimura2PDistance(double P, double Q) {
    // A transversion share of exactly one half would make the second logarithm infinite.
    if (Q == 0.5) Q = 0.499;
    const double L1 = Ln(Div(1, (1 - 2 * P) - Q));
    const double L2 = Ln(Div(1, 1 - 2 * Q));
    return Finished((0.25 * L2 + L1) * 0.5);
}

TajimaNeiSteps TajimaNeiTerms(double p, const PairCounts& c) {
    const double A = c.baseA, C = c.baseC, G = c.baseG, T = c.baseT;
    TajimaNeiSteps s;
    s.h = Div(c.pairAG * c.pairAG, 2 * A * G) + Div(c.pairAT * c.pairAT, 2 * A * T) +
          Div(c.pairAC * c.pairAC, 2 * A * C) + Div(c.pairGT * c.pairGT, 2 * G * T) +
          Div(c.pairCG * c.pairCG, 2 * G * C) + Div(c.pairCT * c.pairCT, 2 * C * T);
    s.b = 0.5 * ((1 - (A * A + G * G + C * C + T * T)) + Div(p * p, s.h));
    s.d = -(s.b * Ln(1 - Div(p, s.b)));
    return s;
}

Value TajimaNeiDistance(double p, const PairCounts& counts) { return Finished(TajimaNeiTerms(p, counts).d); }

Tamura3PSteps Tamura3PTerms(double theta, double P, double Q) {
    Tamura3PSteps s;
    s.C = (2 * theta) * (1 - theta);
    s.K1 = (1 - Div(P, s.C)) - Q;
    s.K2 = 1 - 2 * Q;
    s.d = (-s.C) * Ln(s.K1) - (0.5 * (1 - s.C)) * Ln(s.K2);
    return s;
}

Value Tamura3PDistance(double theta, double P, double Q) { return Finished(Tamura3PTerms(theta, P, Q).d); }

TamuraNeiSteps TamuraNeiTerms(double P1, double P2, double Q, const PairCounts& c) {
    const double A = c.baseA, C = c.baseC, G = c.baseG, T = c.baseT;
    const double R = A + G;
    const double Y = T + C;
    TamuraNeiSteps s;
    s.c1 = Div(2 * A * G, R);
    s.c2 = Div(2 * T * C, Y);
    s.c3 = 2 * (R * Y) - Div(A * G * Y, R) - Div(T * C * R, Y);
    s.K1 = (1 - Div(P1, s.c1)) - Div(Q, 2 * R);
    s.K2 = (1 - Div(P2, s.c2)) - Div(Q, 2 * Y);
    s.K3 = 1 - Div(Q, 2 * R * Y);
    s.d = ((-s.c1) * Ln(s.K1) - s.c2 * Ln(s.K2)) - s.c3 * Ln(s.K3);
    return s;
}

Value TamuraNeiDistance(double P1, double P2, double Q, const PairCounts& counts) {
    return Finished(TamuraNeiTerms(P1, P2, Q, counts).d);
}

Value ModelDistance(DistanceModel model, const PairDistances& d, const PairCounts& counts) {
    switch (model) {
        case DistanceModel::None: return std::nullopt;
        case DistanceModel::JC: return JukesCantorDistance(Or(d.pDistance));
        case DistanceModel::K2P: return Kimura2PDistance(Or(d.transitionShare), Or(d.transversionShare));
        case DistanceModel::TN84: return TajimaNeiDistance(Or(d.pDistance), counts);
        case DistanceModel::T3P:
            return Tamura3PDistance(Or(d.gcContent), Or(d.transitionShare), Or(d.transversionShare));
        case DistanceModel::TN93:
            return TamuraNeiDistance(Or(d.purineTransitionShare), Or(d.pyrimidineTransitionShare),
                                     Or(d.transversionShare), counts);
        case DistanceModel::LogDet: return LogDetDistance(counts, d.comparedLength);
    }
    return std::nullopt;
}

}  // namespace kadrel
