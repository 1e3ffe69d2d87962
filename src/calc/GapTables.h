#pragma once
#include <string>
#include <vector>

#include "calc/GapAnalysis.h"

// The tables of a barcoding-gap analysis for other programs: tab-separated, LF line ends, a point
// as decimal separator, "NA" for a value that does not exist, one header line.
namespace kadrel {

std::string SpeciesTable(const GapAnalysis& analysis);
std::string SpecimensTable(const GapAnalysis& analysis);
std::string SweepTable(const std::vector<SweepCounts>& sweep);

// "12 species (2 singletons, 3 without a gap), 1 record nearer another species; least error 4 at
// threshold 0.012", the last part only when the sweep has thresholds.
std::string GapSummaryText(const GapAnalysis& analysis, const GapSweep& sweep);

}  // namespace kadrel
