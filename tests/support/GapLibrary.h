#pragma once
#include <string>
#include <utility>
#include <vector>

#include "calc/GapAnalysis.h"

// A small library whose every value below was worked out by hand: A and B are apart (gaps 0.04
// and 0.03); C and D are not (c2 is nearer d1 than c1, D's gap is exactly 0); E is a singleton
// tied between A and B; u1 is unclassified and 0 from a1, which must change nothing. Pairs not
// listed are 0.3 apart.
namespace kadrel::test {

inline const std::vector<std::string> kGapIds = {"a1", "a2", "b1", "b2", "c1", "c2", "d1", "d2", "e1", "u1"};
inline const std::vector<std::string> kGapSpecies = {"A", "A", "B", "B", "C", "C", "D", "D", "E", ""};

inline double GapDistance(std::size_t i, std::size_t j) {
    static const std::vector<std::pair<std::string, double>> listed = {
        {"a1a2", .01}, {"b1b2", .02}, {"a1b1", .05}, {"a1b2", .06}, {"a2b1", .06}, {"a2b2", .06},
        {"c1c2", .03}, {"d1d2", .02}, {"c2d1", .02}, {"a2e1", .08}, {"b2e1", .08}, {"a1u1", 0}};
    const std::string key = kGapIds[i] + kGapIds[j];
    for (const auto& [pair, distance] : listed)
        if (pair == key) return distance;
    return .3;
}

// Offered as a run offers them: record i's pairs with every later record, i in order.
inline GapAnalysis HandCheckedLibrary() {
    GapAnalysis analysis(kGapIds, kGapSpecies);
    for (std::size_t i = 0; i < kGapIds.size(); ++i)
        for (std::size_t j = i + 1; j < kGapIds.size(); ++j) analysis.Offer(i, j, GapDistance(i, j));
    return analysis;
}

}  // namespace kadrel::test
