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

}  // namespace kadrel
