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

Value TajimaNeiDistance(double p, const PairCounts& c) {
    const double A = c.base[BaseA], C = c.base[BaseC], G = c.base[BaseG], T = c.base[BaseT];
    const double AG = c.Pairs(BaseA, BaseG), AT = c.Pairs(BaseA, BaseT), AC = c.Pairs(BaseA, BaseC);
    const double GT = c.Pairs(BaseG, BaseT), CG = c.Pairs(BaseC, BaseG), CT = c.Pairs(BaseC, BaseT);
    const double h = Div(AG * AG, 2 * A * G) + Div(AT * AT, 2 * A * T) + Div(AC * AC, 2 * A * C) +
                     Div(GT * GT, 2 * G * T) + Div(CG * CG, 2 * G * C) + Div(CT * CT, 2 * C * T);
    const double b = 0.5 * ((1 - (A * A + G * G + C * C + T * T)) + Div(p * p, h));
    return Finished(-(b * Ln(1 - Div(p, b))));
}

Value Tamura3PDistance(double theta, double P, double Q) {
    const double C = (2 * theta) * (1 - theta);
    const double K1 = (1 - Div(P, C)) - Q;
    const double K2 = 1 - 2 * Q;
    return Finished((-C) * Ln(K1) - (0.5 * (1 - C)) * Ln(K2));
}

Value TamuraNeiDistance(double P1, double P2, double Q, const PairCounts& c) {
    const double A = c.base[BaseA], C = c.base[BaseC], G = c.base[BaseG], T = c.base[BaseT];
    const double R = A + G;
    const double Y = T + C;
    const double c1 = Div(2 * A * G, R);
    const double c2 = Div(2 * T * C, Y);
    const double c3 = 2 * (R * Y) - Div(A * G * Y, R) - Div(T * C * R, Y);
    const double K1 = (1 - Div(P1, c1)) - Div(Q, 2 * R);
    const double K2 = (1 - Div(P2, c2)) - Div(Q, 2 * Y);
    const double K3 = 1 - Div(Q, 2 * R * Y);
    return Finished(((-c1) * Ln(K1) - c2 * Ln(K2)) - c3 * Ln(K3));
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
