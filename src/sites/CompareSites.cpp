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
    int gc = 0;            // 1 for C and G
    int diagonal = 4;      // where an identical site is counted: its base code, or 4 for nowhere
};

constexpr unsigned Bit(int base) { return 1u << base; }

std::array<Symbol, 256> MakeSymbols() {
    std::array<Symbol, 256> table{};
    const auto definite = [&](char c, int base) {
        table[static_cast<unsigned char>(c)] = {base, Bit(base), 1, false, c == 'C' || c == 'G', base};
    };
    definite('A', BaseA);
    definite('C', BaseC);
    definite('G', BaseG);
    definite('T', BaseT);
    table[static_cast<unsigned char>('-')].gap = true;
    const auto code = [&](char c, unsigned bases, int count) {
        table[static_cast<unsigned char>(c)].bases = bases;
        table[static_cast<unsigned char>(c)].baseCount = count;
    };
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
        c.base[y] += share;
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

}  // namespace

PairCounts CompareSites(const AlignedPair& pair) {
    PairCounts c;
    // Past the stored text both characters are empty, an identical site that changes nothing,
    // so the pass can stop there whatever the header claims.
    const double stored = static_cast<double>(std::max(pair.first.size(), pair.second.size()));
    const double last = std::min(pair.length, stored);
    const std::size_t sites = last >= 1 ? static_cast<std::size_t>(last) : 0;

    // Whole-number counts of every site are kept as integers (exact, and fast on the common
    // identical site); the weighted ones go straight into the doubles.
    long long gcFirst = 0, gcSecond = 0;
    long long identical[5] = {};
    const auto site = [&](char f, char s) {
        const Symbol& sf = kSymbols[static_cast<unsigned char>(f)];
        const Symbol& ss = kSymbols[static_cast<unsigned char>(s)];
        gcFirst += sf.gc;
        gcSecond += ss.gc;
        if (f == s) {
            ++identical[sf.diagonal];
            return;
        }
        if (sf.gap) {
            c.gaps += 1;
            --gcFirst;
            return;
        }
        if (sf.base < 0) return;  // ambiguity codes and unrecognised characters in first

        const int x = sf.base;
        c.base[x] += 0.5;
        if (ss.gap) {
            c.gaps += 1;
            --gcSecond;
            c.base[x] -= 0.5;  // a gap site is not part of the composition
        } else if (ss.baseCount > 0 && !(ss.bases & Bit(x))) {
            AddClassifiedSite(c, x, ss);
        }
    };
    const std::size_t bothStored = std::min({sites, pair.first.size(), pair.second.size()});
    for (std::size_t i = 0; i < bothStored; ++i) site(pair.first[i], pair.second[i]);
    for (std::size_t i = bothStored; i < sites; ++i)
        site(i < pair.first.size() ? pair.first[i] : '\0', i < pair.second.size() ? pair.second[i] : '\0');

    c.gcFirst = static_cast<double>(gcFirst);
    c.gcSecond = static_cast<double>(gcSecond);
    for (int b = 0; b < 4; ++b) c.pairMatrix[b][b] = static_cast<double>(identical[b]);
    return c;
}

}  // namespace kadrel
