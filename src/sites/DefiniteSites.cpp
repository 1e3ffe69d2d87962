#include "sites/DefiniteSites.h"

#include <algorithm>
#include <limits>

#include "sites/PairCounts.h"

namespace kadrel {
namespace {

int DefiniteBase(char c) {
    switch (c) {
        case 'A': case 'a': return BaseA;
        case 'C': case 'c': return BaseC;
        case 'G': case 'g': return BaseG;
        case 'T': case 't': case 'U': case 'u': return BaseT;
        default: return -1;
    }
}

}  // namespace

double DefiniteSites::Compared() const {
    double sum = 0;
    for (const auto& row : pairs)
        for (const double n : row) sum += n;
    return sum;
}

double DefiniteSites::Differences() const {
    double sum = 0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (i != j) sum += pairs[i][j];
    return sum;
}

double DefiniteSites::Transversions() const {
    return Differences() - Transitions(BaseA, BaseG) - Transitions(BaseC, BaseT);
}

double DefiniteSites::BaseShare(int base) const {
    const double all = bases[0] + bases[1] + bases[2] + bases[3];
    return all > 0 ? bases[base] / all : std::numeric_limits<double>::quiet_NaN();
}

DefiniteSites CountDefiniteSites(const AlignedPair& pair) {
    DefiniteSites sites;
    for (const std::string* sequence : {&pair.first, &pair.second})
        for (const char c : *sequence)
            if (const int b = DefiniteBase(c); b >= 0) sites.bases[b] += 1;
    const std::size_t length = std::min(pair.first.size(), pair.second.size());
    for (std::size_t i = 0; i < length; ++i) {
        const int x = DefiniteBase(pair.first[i]), y = DefiniteBase(pair.second[i]);
        if (x >= 0 && y >= 0) sites.pairs[x][y] += 1;
    }
    return sites;
}

}  // namespace kadrel
