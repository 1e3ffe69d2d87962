#include "sites/CompareSites.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "sites/SiteFolding.h"

namespace kadrel {
namespace {

// What one aligned character stands for: a definite base, the gap, an ambiguity code
// (a set of two or three bases) or nothing at all. Lower case reads as upper case: soft-masked and
// many exported files hold lower case, and the aligner keeps the input's case.
struct Symbol {
    int base = -1;         // definite base code, or -1
    unsigned bases = 0;    // bit per base code an ambiguity code stands for
    int baseCount = 0;
    bool gap = false;
    int gc = 0;            // 1 for C and G
};

constexpr unsigned Bit(int base) { return 1u << base; }

std::array<Symbol, 256> MakeSymbols() {
    std::array<Symbol, 256> table{};
    const auto definite = [&](char c, int base) {
        table[static_cast<unsigned char>(c)] = {base, Bit(base), 1, false, c == 'C' || c == 'G'};
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

// An identical site of a definite base adds 1 to that base's field of a packed sum, and C and G
// also to the G+C field above them: one addition for the common site. Emptied before a field
// can overflow.
constexpr int kField = 12;
constexpr std::size_t kFieldMask = (1u << kField) - 1;

std::array<std::uint64_t, 256> MakeIdenticalSteps() {
    std::array<std::uint64_t, 256> steps{};
    for (const char c : {'A', 'C', 'G', 'T', 'U', 'a', 'c', 'g', 't', 'u'}) {
        const Symbol& symbol = kSymbols[static_cast<unsigned char>(FoldedSite(c))];
        steps[static_cast<unsigned char>(c)] = (std::uint64_t{1} << (kField * symbol.base)) |
                                               (static_cast<std::uint64_t>(symbol.gc) << (kField * 4));
    }
    return steps;
}

const std::array<std::uint64_t, 256> kIdenticalSteps = MakeIdenticalSteps();

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

bool KnownSiteCharacter(char c) {
    const Symbol& symbol = kSymbols[static_cast<unsigned char>(FoldedSite(c))];
    return symbol.baseCount > 0 || symbol.gap;
}

PairCounts CompareSites(const AlignedPair& pair) {
    PairCounts c;
    // Past the stored text both characters are empty, an identical site that changes nothing,
    // so the pass can stop there whatever the header claims.
    const double stored = static_cast<double>(std::max(pair.first.size(), pair.second.size()));
    const double last = std::min(pair.length, stored);
    const std::size_t sites = last >= 1 ? static_cast<std::size_t>(last) : 0;

    // Whole-number counts are kept as integers (exact, and cheap on the common identical site);
    // the weighted ones go straight into the doubles.
    long long gcFirst = 0, gcSecond = 0, identicalGc = 0;
    long long identical[4] = {};
    std::uint64_t packed = 0;
    const auto unpack = [&] {
        for (int b = 0; b < 4; ++b) identical[b] += static_cast<long long>((packed >> (kField * b)) & kFieldMask);
        identicalGc += static_cast<long long>(packed >> (kField * 4));
        packed = 0;
    };
    const auto differing = [&](char f, char s) {
        const Symbol& sf = kSymbols[static_cast<unsigned char>(f)];
        const Symbol& ss = kSymbols[static_cast<unsigned char>(s)];
        gcFirst += sf.gc;
        gcSecond += ss.gc;
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
    for (std::size_t start = 0; start < bothStored; start += kFieldMask) {
        const std::size_t end = std::min(bothStored, start + kFieldMask);
        for (std::size_t i = start; i < end; ++i) {
            const char f = pair.first[i], s = pair.second[i];
            // Case is looked at only where the bytes differ, off the common path.
            if (f == s || FoldedSite(f) == FoldedSite(s)) {
                packed += kIdenticalSteps[static_cast<unsigned char>(f)];
            } else {
                differing(FoldedSite(f), FoldedSite(s));
            }
        }
        unpack();
    }
    // Past the shorter text, the longer one's characters stand against empty entries.
    for (std::size_t i = bothStored; i < sites; ++i)
        differing(i < pair.first.size() ? FoldedSite(pair.first[i]) : '\0',
                  i < pair.second.size() ? FoldedSite(pair.second[i]) : '\0');

    c.gcFirst = static_cast<double>(gcFirst + identicalGc);
    c.gcSecond = static_cast<double>(gcSecond + identicalGc);
    for (int b = 0; b < 4; ++b) c.pairMatrix[b][b] = static_cast<double>(identical[b]);
    return c;
}

}  // namespace kadrel
