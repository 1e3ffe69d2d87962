#include "calc/Identification.h"

namespace kadrel {
namespace {

std::vector<std::size_t> TiedBest(const std::vector<Hit>& hits) {
    std::vector<std::size_t> best;
    for (std::size_t h = 0; h < hits.size(); ++h) {
        if (!best.empty() && hits[best.front()].p < hits[h].p) continue;
        if (!best.empty() && hits[h].p < hits[best.front()].p) best.clear();
        best.push_back(h);
    }
    return best;
}

bool Conflicting(const std::vector<Hit>& hits, const std::vector<std::size_t>& best) {
    for (std::size_t r = 0; r < kRankCount; ++r) {
        const std::string* seen = nullptr;
        for (const std::size_t b : best) {
            const std::string& name = hits[b].lineage->names[r];
            if (name.empty()) continue;
            if (seen && *seen != name) return true;
            seen = &name;
        }
    }
    return false;
}

// The one taxon every hit within `distance` names at `rank`, and how many hits those are; none
// when one names another or none.
std::optional<std::pair<std::string, std::size_t>> Agreed(const std::vector<Hit>& hits, Rank rank,
                                                          const Fraction& distance) {
    const std::string* taxon = nullptr;
    std::size_t count = 0;
    for (const Hit& hit : hits) {
        if (!(hit.p <= distance)) continue;
        const std::string& name = hit.lineage->At(rank);
        if (name.empty() || (taxon && *taxon != name)) return std::nullopt;
        taxon = &name;
        ++count;
    }
    if (!taxon) return std::nullopt;
    return std::pair{*taxon, count};
}

Outcome Judge(const HitRule& rule, const QueryFacts& query, const std::vector<Hit>& hits,
              const std::vector<std::size_t>& best) {
    const std::string& species = query.lineage->At(Rank::Species);
    if (species.empty()) return Outcome::NotJudged;
    std::optional<Fraction> speciesDistance;
    for (const auto& threshold : rule.thresholds)
        if (threshold.rank == Rank::Species) speciesDistance = threshold.distance;
    if (best.empty() || !speciesDistance || !(hits[best.front()].p <= *speciesDistance)) return Outcome::NoId;
    std::size_t same = 0;
    for (const std::size_t b : best) same += hits[b].lineage->At(Rank::Species) == species ? 1 : 0;
    if (same == best.size()) return Outcome::Correct;
    return same == 0 ? Outcome::Incorrect : Outcome::Ambiguous;
}

}  // namespace

std::string OutcomeText(Outcome outcome) {
    switch (outcome) {
        case Outcome::Correct: return "correct";
        case Outcome::Ambiguous: return "ambiguous";
        case Outcome::Incorrect: return "incorrect";
        case Outcome::NoId: return "no id";
        case Outcome::NotJudged: break;
    }
    return {};
}

std::string Identification::FlagsText() const {
    std::string text;
    const std::pair<bool, const char*> flags[] = {{conflictingBest, "conflicting_taxonomy"},
                                                  {singleReference, "single_reference"},
                                                  {noHit, "no_reference_within_max_distance"},
                                                  {shortQuery, "query_below_min_overlap"},
                                                  {unclassifiedBest, "unclassified_best"}};
    for (const auto& [holds, word] : flags) {
        if (!holds) continue;
        if (!text.empty()) text += ',';
        text += word;
    }
    return text;
}

Identification Identify(const HitRule& rule, const QueryFacts& query, const std::vector<Hit>& hits) {
    Identification result;
    result.best = TiedBest(hits);
    result.noHit = hits.empty();
    result.shortQuery = query.bases < rule.minOverlap;
    for (const std::size_t b : result.best) result.unclassifiedBest |= !hits[b].lineage->Classified();
    result.conflictingBest = Conflicting(hits, result.best);
    result.outcome = Judge(rule, query, hits, result.best);
    if (result.best.empty()) return result;
    const Fraction& bestP = hits[result.best.front()].p;
    for (const auto& threshold : rule.thresholds) {
        if (!(bestP <= threshold.distance)) continue;
        const auto agreed = Agreed(hits, threshold.rank, threshold.distance);
        if (!agreed) continue;
        result.rank = threshold.rank;
        result.taxon = agreed->first;
        result.support = agreed->second;
        result.singleReference = agreed->second == 1;
        // The lineage of the first best reference that names the taxon: they all do, as the best
        // lie within every distance the best p meets.
        result.lineage = hits[result.best.front()].lineage->Text(threshold.rank);
        break;
    }
    return result;
}

}  // namespace kadrel
