#pragma once

namespace kadrel {

// Base codes index pairMatrix: A = 0, C = 1, G = 2, T = 3.
enum Base { BaseA = 0, BaseC = 1, BaseG = 2, BaseT = 3 };

// The weighted counts of one aligned pair. All values are doubles because ambiguity codes
// spread a site over two or three bases with decimal weights.
struct PairCounts {
    double differences = 0;
    double gaps = 0;
    double transitions = 0;
    double transversions = 0;
    double purineTransitions = 0;
    double pyrimidineTransitions = 0;
    double gcFirst = 0;
    double gcSecond = 0;
    double baseA = 0, baseC = 0, baseG = 0, baseT = 0;
    double pairAC = 0, pairAG = 0, pairAT = 0, pairCG = 0, pairCT = 0, pairGT = 0;
    // [base of second][base of first]
    double pairMatrix[4][4] = {};
};

}  // namespace kadrel
