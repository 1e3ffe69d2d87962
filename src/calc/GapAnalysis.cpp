#include "calc/GapAnalysis.h"

#include <algorithm>
#include <cmath>

#include "distances/Rounding.h"

namespace kadrel {
namespace {

// Offers come in library order of the partner, so a strict "closer" keeps the first of a tie.
void Keep(Nearest& nearest, std::size_t record, double distance) {
    if (nearest.record && nearest.distance <= distance) return;
    nearest.record = record;
    nearest.distance = distance;
}

void KeepSpecies(SpeciesGap& species, std::size_t other, double distance) {
    if (!species.nearestDistance || distance < *species.nearestDistance) {
        species.nearestDistance = distance;
        species.nearestSpecies.assign(1, other);
    } else if (distance == *species.nearestDistance) {
        auto& tied = species.nearestSpecies;
        const auto at = std::lower_bound(tied.begin(), tied.end(), other);
        if (at == tied.end() || *at != other) tied.insert(at, other);
    }
}

double AsDouble(const Fraction& value) {
    return static_cast<double>(value.numerator) / static_cast<double>(value.denominator);
}

}  // namespace

GapAnalysis::GapAnalysis(const std::vector<std::string>& ids, const std::vector<std::string>& species) {
    std::vector<std::string> names;
    for (const std::string& name : species)
        if (!name.empty()) names.push_back(name);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (const std::string& name : names) {
        SpeciesGap species;
        species.name = name;
        species_.push_back(std::move(species));
    }
    records_.reserve(ids.size());
    for (std::size_t r = 0; r < ids.size(); ++r) {
        RecordGap record;
        record.id = ids[r];
        if (r < species.size() && !species[r].empty()) {
            const auto at = std::lower_bound(names.begin(), names.end(), species[r]);
            record.species = static_cast<std::size_t>(at - names.begin());
            ++species_[*record.species].members;
        }
        records_.push_back(std::move(record));
    }
}

void GapAnalysis::Offer(std::size_t i, std::size_t j, double distance) {
    RecordGap& a = records_.at(i);
    RecordGap& b = records_.at(j);
    if (!a.species || !b.species) return;
    const auto thousandths = static_cast<long long>(std::llround(distance * 1000));
    if (*a.species == *b.species) {
        Keep(a.conspecific, j, distance);
        Keep(b.conspecific, i, distance);
        SpeciesGap& s = species_[*a.species];
        s.intraMin = s.intraPairs == 0 ? distance : std::min(s.intraMin, distance);
        s.intraMax = s.intraPairs == 0 ? distance : std::max(s.intraMax, distance);
        s.intraSum += distance;
        ++s.intraPairs;
        ++histogram_.intra[thousandths];
        return;
    }
    Keep(a.other, j, distance);
    Keep(b.other, i, distance);
    KeepSpecies(species_[*a.species], *b.species, distance);
    KeepSpecies(species_[*b.species], *a.species, distance);
    ++histogram_.inter[thousandths];
}

SweepCounts GapAnalysis::CountsAt(const Fraction& threshold) const {
    SweepCounts counts{threshold};
    const double limit = AsDouble(threshold);
    for (const RecordGap& record : records_) {
        if (!record.species) continue;
        const bool sameWithin = record.conspecific.record && record.conspecific.distance <= limit;
        const bool otherWithin = record.other.record && record.other.distance <= limit;
        if (otherWithin) {
            ++counts.falsePositive;
        } else if (sameWithin) {
            ++counts.truePositive;
        } else if (species_[*record.species].members > 1) {
            ++counts.falseNegative;
        } else {
            ++counts.trueNegative;
        }
    }
    return counts;
}

std::optional<double> IntraMean(const SpeciesGap& species) {
    if (species.intraPairs == 0) return std::nullopt;
    return RoundHalfEven(species.intraSum / static_cast<double>(species.intraPairs), 4);
}

std::optional<double> IntraMax(const SpeciesGap& species) {
    if (species.intraPairs == 0) return std::nullopt;
    return species.intraMax;
}

std::optional<double> IntraMin(const SpeciesGap& species) {
    if (species.intraPairs == 0) return std::nullopt;
    return species.intraMin;
}

std::optional<double> Gap(const SpeciesGap& species) {
    if (species.intraPairs == 0 || !species.nearestDistance) return std::nullopt;
    // Both are rounded to 3 places; the difference is too, so 0.03 - 0.01 reads 0.02.
    return RoundHalfEven(*species.nearestDistance - species.intraMax, 3);
}

std::vector<std::string> RecordIds(const GapAnalysis& analysis) {
    std::vector<std::string> ids;
    for (const RecordGap& record : analysis.Records()) ids.push_back(record.id);
    return ids;
}

bool NearerAnotherSpecies(const RecordGap& record) {
    return record.conspecific.record && record.other.record && record.other.distance < record.conspecific.distance;
}

std::vector<Fraction> SweepThresholds(const Fraction& from, const Fraction& to, const Fraction& step) {
    // The denominators are powers of ten, so the largest is a multiple of the others.
    const std::uint64_t scale = std::max({from.denominator, to.denominator, step.denominator});
    const auto units = [scale](const Fraction& f) { return f.numerator * (scale / f.denominator); };
    std::vector<Fraction> thresholds;
    const std::uint64_t last = units(to), by = units(step);
    if (by == 0) return thresholds;
    for (std::uint64_t at = units(from); at <= last; at += by) thresholds.push_back({at, scale});
    return thresholds;
}

std::optional<std::size_t> LeastError(const std::vector<SweepCounts>& sweep) {
    std::optional<std::size_t> best;
    for (std::size_t t = 0; t < sweep.size(); ++t)
        if (!best || sweep[t].Error() < sweep[*best].Error()) best = t;
    return best;
}

std::optional<double> GapSweep::BestThreshold() const {
    if (!least) return std::nullopt;
    return AsDouble(counts[*least].threshold);
}

GapSweep SweepOf(const GapAnalysis& analysis, const std::vector<Fraction>& thresholds) {
    GapSweep sweep;
    for (const Fraction& threshold : thresholds) sweep.counts.push_back(analysis.CountsAt(threshold));
    sweep.least = LeastError(sweep.counts);
    return sweep;
}

std::vector<Fraction> DefaultSweepThresholds() { return SweepThresholds({1, 1000}, {50, 1000}, {1, 1000}); }

}  // namespace kadrel
