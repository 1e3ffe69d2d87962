#pragma once
#include <string>

#include "distances/DistanceModel.h"
#include "distances/PairDistances.h"
#include "sites/DefiniteSites.h"

namespace kadrel {

// The published form of each model (Jukes-Cantor 1969, Kimura 1980, Tajima-Nei 1984, Tamura 1992,
// Tamura-Nei 1993, LogDet of Lockhart et al. 1994 as R's ape computes it), from unrounded shares
// over the compared definite sites. Unrounded; no value for None or where the form cannot be
// computed. No zero-distance rule: identical sequences get what the form gives.
Value TextbookDistance(DistanceModel model, const DefiniteSites& sites);

// The model column's title when the published forms are used, e.g. "K2P-dist. (textbook)".
std::string TextbookColumnTitle(DistanceModel model);

}  // namespace kadrel
