#include "calc/WordBound.h"

#include <algorithm>

namespace kadrel {
namespace {

int BaseCode(char c) {
    switch (c) {
        case 'A': case 'a': return 0;
        case 'C': case 'c': return 1;
        case 'G': case 'g': return 2;
        case 'T': case 't': case 'U': case 'u': return 3;
        default: return -1;
    }
}

// ceil(n / d) of non-negative n, positive d.
unsigned __int128 CeilDiv(unsigned __int128 n, unsigned __int128 d) { return n / d + (n % d != 0 ? 1 : 0); }

}  // namespace

SequenceWords ReadWords(std::string_view residues, unsigned q) {
    SequenceWords result;
    const std::uint32_t mask = (std::uint32_t{1} << (2 * q)) - 1;
    std::uint32_t word = 0;
    unsigned run = 0;  // definite bases ending here
    for (const char c : residues) {
        const int code = BaseCode(c);
        if (code < 0) {
            run = 0;
            continue;
        }
        ++result.bases;
        word = ((word << 2) | static_cast<std::uint32_t>(code)) & mask;
        if (++run >= q) result.words.push_back(word);
    }
    const std::uint64_t windows = residues.size() >= q ? residues.size() - q + 1 : 0;
    result.brokenWindows = windows - result.words.size();
    return result;
}

std::uint64_t CountBases(std::string_view residues) {
    return static_cast<std::uint64_t>(std::count_if(residues.begin(), residues.end(), [](char c) { return BaseCode(c) >= 0; }));
}

unsigned WordLength(const Fraction& maxDistance) {
    if (maxDistance.numerator == 0) return kLongestWord;
    const std::uint64_t q = maxDistance.denominator / (2 * maxDistance.numerator);
    return static_cast<unsigned>(std::clamp<std::uint64_t>(q, 7, kLongestWord));
}

std::uint64_t LeastCompared(const HitRule& rule, std::uint64_t queryBases) {
    const auto covered = CeilDiv(static_cast<unsigned __int128>(rule.minCoverage.numerator) * queryBases,
                                 rule.minCoverage.denominator);
    return std::max<std::uint64_t>({rule.minOverlap, static_cast<std::uint64_t>(covered), 1});
}

std::optional<std::int64_t> NeededShared(const HitRule& rule, unsigned q, std::uint64_t leastCompared,
                                         std::uint64_t queryBrokenWindows) {
    // T = a / b; Cmin (1 - qT) = Cmin (b - qa) / b.
    const unsigned __int128 a = rule.maxDistance.numerator, b = rule.maxDistance.denominator;
    if (q * a >= b) return std::nullopt;
    const auto reach = static_cast<__int128>(CeilDiv(leastCompared * (b - q * a), b));
    const __int128 lost = static_cast<__int128>(rule.maxGapRuns + 1) * (q - 1) + queryBrokenWindows;
    return static_cast<std::int64_t>(reach - lost);
}

bool CanBeHit(std::optional<std::int64_t> needed, std::uint64_t leastCompared, std::uint64_t shared,
              std::uint64_t referenceBases, std::uint64_t referenceBrokenWindows) {
    if (referenceBases < leastCompared) return false;
    return !needed || static_cast<__int128>(shared) + referenceBrokenWindows >= *needed;
}

}  // namespace kadrel
