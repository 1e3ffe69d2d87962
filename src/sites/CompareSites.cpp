#include "sites/CompareSites.h"

#include <algorithm>
#include <array>

namespace kadrel {
namespace {

// What one aligned character stands for: a definite base, the gap, an ambiguity code
// (a set of two or three bases) or nothing at all. Matching is exact: lower case is unrecognised.
struct Symbol {
    int base = -1;         // definite base code, or -1
    unsigned bases = 0;    // bit per base code an ambiguity code stands for
    int baseCount = 0;
    bool gap = false;
};

constexpr unsigned Bit(int base) { return 1u << base; }

std::array<Symbol, 256> MakeSymbols() {
    std::array<Symbol, 256> table{};
    const auto definite = [&](char c, int base) { table[static_cast<unsigned char>(c)] = {base, Bit(base), 1, false}; };
    definite('A', BaseA);
    definite('C', BaseC);
    definite('G', BaseG);
    definite('T', BaseT);
    table[static_cast<unsigned char>('-')].gap = true;
    const auto code = [&](char c, unsigned bases, int count) { table[static_cast<unsigned char>(c)] = {-1, bases, count, false}; };
    code('Y', Bit(BaseC) | Bit(BaseT), 2);
    code('R', Bit(BaseA) | Bit(BaseG), 2);
    code('S', Bit(BaseC) | Bit(BaseG), 2);
    code('W', Bit(BaseA) | Bit(BaseT), 2);
    code('K', Bit(BaseG) | Bit(BaseT), 2);
    code('M', Bit(BaseA) | Bit(BaseC), 2);
    code('B', Bit(BaseC) | Bit(BaseG) | Bit(BaseT), 3);
    code('D', Bit(BaseA) | Bit(BaseG) | Bit(BaseT), 3);
    code('H', Bit(BaseA) | Bit(BaseC) | Bit(BaseT), 3);
    code('V', Bit(BaseA) | Bit(BaseC) | Bit(BaseG), 3);
    return table;
}

const std::array<Symbol, 256> kSymbols = MakeSymbols();

// A-G and C-T are the transitions; every base has exactly one transition partner.
constexpr int TransitionPartner(int base) {
    switch (base) {
        case BaseA: return BaseG;
        case BaseG: return BaseA;
        case BaseC: return BaseT;
        default: return BaseC;
    }
}

double& Composition(PairCounts& c, int base) {
    switch (base) {
        case BaseA: return c.baseA;
        case BaseC: return c.baseC;
        case BaseG: return c.baseG;
        default: return c.baseT;
    }
}

double& PairCount(PairCounts& c, int x, int y) {
    const unsigned both = Bit(x) | Bit(y);
    if (both == (Bit(BaseA) | Bit(BaseC))) return c.pairAC;
    if (both == (Bit(BaseA) | Bit(BaseG))) return c.pairAG;
    if (both == (Bit(BaseA) | Bit(BaseT))) return c.pairAT;
    if (both == (Bit(BaseC) | Bit(BaseG))) return c.pairCG;
    if (both == (Bit(BaseC) | Bit(BaseT))) return c.pairCT;
    return c.pairGT;
}

// The weights are the program's fixed decimal constants, not exact fractions: three sites of a
// three-base code add 0.99 transitions, and users compare against that.
void AddClassifiedSite(PairCounts& c, int x, const Symbol& s) {
    const double weight = s.baseCount == 1 ? 1.0 : s.baseCount == 2 ? 0.5 : 0.33;
    const double share = s.baseCount == 1 ? 0.5 : s.baseCount == 2 ? 0.25 : 0.166;
    const int partner = TransitionPartner(x);

    c.differences += 1;
    for (int y = 0; y < 4; ++y) {
        if (!(s.bases & Bit(y))) continue;
        c.pairMatrix[y][x] += weight;
        PairCount(c, x, y) += weight;
        Composition(c, y) += share;
    }
    const bool withTransition = (s.bases & Bit(partner)) != 0;
    if (withTransition) {
        c.transitions += weight;
        (x == BaseA || x == BaseG ? c.purineTransitions : c.pyrimidineTransitions) += weight;
    }
    if (s.baseCount == 3) {
        c.transversions += 0.66;
    } else if (s.baseCount == 2) {
        c.transversions += withTransition ? 0.5 : 1.0;
    } else if (!withTransition) {
        c.transversions += 1.0;
    }
}

bool IsGC(char c) { return c == 'C' || c == 'G'; }

}  // namespace

PairCounts CompareSites(const AlignedPair& pair) {
    PairCounts c;
    // Past the stored text both characters are empty, an identical site that changes nothing,
    // so the pass can stop there whatever the header claims.
    const double stored = static_cast<double>(std::max(pair.first.size(), pair.second.size()));
    const double last = std::min(pair.length, stored);
    for (std::size_t i = 0; static_cast<double>(i + 1) <= last; ++i) {
        const char f = i < pair.first.size() ? pair.first[i] : '\0';
        const char s = i < pair.second.size() ? pair.second[i] : '\0';
        if (IsGC(f)) c.gcFirst += 1;
        if (IsGC(s)) c.gcSecond += 1;

        const Symbol& sf = kSymbols[static_cast<unsigned char>(f)];
        if (f == s) {
            if (sf.base >= 0) c.pairMatrix[sf.base][sf.base] += 1;
            continue;
        }
        if (sf.gap) {
            c.gaps += 1;
            c.gcFirst -= 1;
            continue;
        }
        if (sf.base < 0) continue;  // ambiguity codes and unrecognised characters in first

        const int x = sf.base;
        const Symbol& ss = kSymbols[static_cast<unsigned char>(s)];
        Composition(c, x) += 0.5;
        if (ss.gap) {
            c.gaps += 1;
            c.gcSecond -= 1;
            Composition(c, x) -= 0.5;  // a gap site is not part of the composition
        } else if (ss.baseCount > 0 && !(ss.bases & Bit(x))) {
            AddClassifiedSite(c, x, ss);
        }
    }
    return c;
}

}  // namespace kadrel
