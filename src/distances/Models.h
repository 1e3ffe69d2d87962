#pragma once

#include "distances/DistanceModel.h"
#include "distances/PairDistances.h"
#include "sites/PairCounts.h"

namespace kadrel {

// The intermediate values of the composition-aware formulas, so that a user (and a test) can
// follow a distance step by step. A failed step holds NaN, and so does all that follows it.
struct TajimaNeiSteps { double h, b, d; };
struct Tamura3PSteps { double C, K1, K2, d; };
struct TamuraNeiSteps { double c1, c2, c3, K1, K2, K3, d; };
struct LogDetSteps { double minors[4], D, d; };

TajimaNeiSteps TajimaNeiTerms(double p, const PairCounts& counts);
Tamura3PSteps Tamura3PTerms(double theta, double P, double Q);
TamuraNeiSteps TamuraNeiTerms(double P1, double P2, double Q, const PairCounts& counts);
LogDetSteps LogDetTerms(const PairCounts& counts, double comparedLength);

// Each formula returns the unrounded distance, or no value where a step fails.
Value JukesCantorDistance(double p);
Value Kimura2PDistance(double P, double Q);
Value TajimaNeiDistance(double p, const PairCounts& counts);
Value Tamura3PDistance(double theta, double P, double Q);
Value TamuraNeiDistance(double P1, double P2, double Q, const PairCounts& counts);
Value LogDetDistance(const PairCounts& counts, double comparedLength);

// The run's model applied to one pair (unrounded); no value for None or when a step fails.
// The zero-distance rule is not applied here: see FinishPairRow.
Value ModelDistance(DistanceModel model, const PairDistances& distances, const PairCounts& counts);

}  // namespace kadrel
