#pragma once

namespace kadrel {

// Base codes index `base` and `pairMatrix`: A = 0, C = 1, G = 2, T = 3.
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
    double base[4] = {};  // the composition of the differing sites
    // [base of second][base of first]; the diagonal counts the identical sites
    double pairMatrix[4][4] = {};

    // The sites where one sequence holds x and the other y (x != y), in either order.
    double Pairs(int x, int y) const { return pairMatrix[x][y] + pairMatrix[y][x]; }
};

}  // namespace kadrel
