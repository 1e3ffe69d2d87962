#include "calc/HitRule.h"

#include <algorithm>

namespace kadrel {

std::vector<RankThreshold> HitRule::DefaultThresholds() {
    return {{Rank::Species, {2, 100}}, {Rank::Genus, {5, 100}}, {Rank::Family, {10, 100}}};
}

std::string HitRule::CommentLine(std::string_view more) const {
    std::string line = "# max-distance=" + DecimalText(maxDistance) + " min-overlap=" + std::to_string(minOverlap) +
                       " min-coverage=" + DecimalText(minCoverage) + " max-gap-runs=" + std::to_string(maxGapRuns) +
                       " thresholds=" + ThresholdsText(thresholds);
    if (!more.empty()) (line += ' ') += more;
    return line;
}

std::optional<std::vector<RankThreshold>> ParseThresholds(std::string_view text, std::string& error) {
    std::vector<RankThreshold> thresholds;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
        const auto equals = item.find('=');
        const auto rank = equals == std::string_view::npos ? std::nullopt : ParseRankName(item.substr(0, equals));
        const auto distance = rank ? ParseDecimal(item.substr(equals + 1)) : std::nullopt;
        if (!distance) {
            const std::string given(item);
            error = "'" + given + "' is not RANK=DISTANCE (a rank from kingdom to species, a distance such as 0.02)";
            return std::nullopt;
        }
        for (const auto& earlier : thresholds)
            if (earlier.rank == *rank) {
                error = "the rank " + std::string(RankName(*rank)) + " is given twice";
                return std::nullopt;
            }
        thresholds.push_back({*rank, *distance});
    }
    if (thresholds.empty()) {
        error = "no threshold given";
        return std::nullopt;
    }
    std::sort(thresholds.begin(), thresholds.end(), [](const auto& a, const auto& b) { return a.rank > b.rank; });
    for (std::size_t t = 1; t < thresholds.size(); ++t)
        if (thresholds[t].distance < thresholds[t - 1].distance) {
            error = std::string(RankName(thresholds[t].rank)) + "'s distance is smaller than " +
                    std::string(RankName(thresholds[t - 1].rank)) + "'s: a higher rank needs the larger one";
            return std::nullopt;
        }
    return thresholds;
}

std::string ThresholdsText(const std::vector<RankThreshold>& thresholds) {
    std::string text;
    for (const auto& threshold : thresholds) {
        if (!text.empty()) text += ',';
        ((text += RankName(threshold.rank)) += '=') += DecimalText(threshold.distance);
    }
    return text;
}

bool WithinMaxDistance(const HitRule& rule, const PairEvidence& pair) {
    return pair.compared != 0 && pair.P() <= rule.maxDistance;
}

bool IsHit(const HitRule& rule, const PairEvidence& pair) {
    // compared >= coverage x bases, cross-multiplied.
    const auto needed = static_cast<unsigned __int128>(rule.minCoverage.numerator) * pair.queryBases;
    const auto have = static_cast<unsigned __int128>(pair.compared) * rule.minCoverage.denominator;
    return WithinMaxDistance(rule, pair) && pair.compared >= rule.minOverlap && have >= needed &&
           pair.gapRuns <= rule.maxGapRuns;
}

}  // namespace kadrel
