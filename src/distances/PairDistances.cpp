#include "distances/PairDistances.h"

#include "distances/Rounding.h"
#include "distances/StepArithmetic.h"

namespace kadrel {

using step::Div;
using step::Finished;

PairDistances DerivePairDistances(const PairCounts& counts, double length) {
    PairDistances d;
    d.comparedLength = length - counts.gaps;
    const double n = d.comparedLength;
    d.pDistance = Finished(RoundHalfEven(Div(counts.differences, n), 3));
    d.transitionShare = Finished(Div(counts.transitions, n));
    d.transversionShare = Finished(Div(counts.transversions, n));
    const double t = counts.transversions == 0 ? 1 : counts.transversions;
    d.tsTvRatio = Finished(RoundHalfEven(Div(counts.transitions, t), 3));
    d.gcContent = Finished(RoundHalfEven(Div((counts.gcFirst + counts.gcSecond) / 2, n), 2));
    d.purineTransitionShare = Finished(Div(counts.purineTransitions, n));
    d.pyrimidineTransitionShare = Finished(Div(counts.pyrimidineTransitions, n));
    return d;
}

}  // namespace kadrel
