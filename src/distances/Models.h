#pragma once

#include "distances/DistanceModel.h"
#include "distances/PairDistances.h"
#include "sites/PairCounts.h"

namespace kadrel {

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
