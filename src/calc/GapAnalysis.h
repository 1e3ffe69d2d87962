#pragma once
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calc/ExactFraction.h"

namespace kadrel {

// The barcoding gap of a library compared with itself, gathered pair by pair: only running values
// per record and per species are kept, so memory grows with the records, never with the pairs.

// The closest record met so far: the first in library order at the smallest distance.
struct Nearest {
    std::optional<std::size_t> record;
    double distance = 0;
};

struct SpeciesGap {
    std::string name;
    std::size_t members = 0;
    std::size_t intraPairs = 0;  // pairs of two members with a distance
    double intraSum = 0, intraMin = 0, intraMax = 0;
    std::optional<double> nearestDistance;  // to any member of another species
    std::vector<std::size_t> nearestSpecies;  // every species at that distance, in name order
};

struct RecordGap {
    std::string id;
    std::optional<std::size_t> species;  // none: unclassified
    Nearest conspecific, other;
};

// One threshold's leave-one-out counts over the classified records.
struct SweepCounts {
    Fraction threshold;
    std::size_t truePositive = 0, falsePositive = 0, falseNegative = 0, trueNegative = 0;
    std::size_t Error() const { return falsePositive + falseNegative; }
};

// Distances of intraspecific and interspecific pairs, counted per value at 0.001 steps (the
// distances are rounded to 3 places, so nothing is lost).
struct GapHistogram {
    std::map<long long, std::size_t> intra, inter;  // value in thousandths -> pairs
};

class GapAnalysis {
public:
    // `species[r]` names record r's species; an empty name is an unclassified record, which takes
    // no part: it is no one's conspecific and no one's other species.
    GapAnalysis(const std::vector<std::string>& ids, const std::vector<std::string>& species);

    // The distance of records i and j (either order); a pair without one is not offered.
    void Offer(std::size_t i, std::size_t j, double distance);

    const std::vector<SpeciesGap>& Species() const { return species_; }  // in name order
    const std::vector<RecordGap>& Records() const { return records_; }   // in library order
    const GapHistogram& Histogram() const { return histogram_; }

    // The counts at `threshold`, a distance equal to it counting as within.
    SweepCounts CountsAt(const Fraction& threshold) const;

private:
    std::vector<SpeciesGap> species_;
    std::vector<RecordGap> records_;
    GapHistogram histogram_;
};

// The species' values as the tables give them: none for a singleton (or one of no intra pair).
std::optional<double> IntraMean(const SpeciesGap& species);
std::optional<double> IntraMax(const SpeciesGap& species);
std::optional<double> IntraMin(const SpeciesGap& species);
// The nearest other species' distance less the largest intraspecific one.
std::optional<double> Gap(const SpeciesGap& species);
// The records' ids, in library order.
std::vector<std::string> RecordIds(const GapAnalysis& analysis);
// A record whose nearest other species is closer than its nearest conspecific.
bool NearerAnotherSpecies(const RecordGap& record);

// Thresholds from `from` to `to` (both included when reached) by `step`, as exact decimals.
std::vector<Fraction> SweepThresholds(const Fraction& from, const Fraction& to, const Fraction& step);
// The first threshold of least error; none for no thresholds.
std::optional<std::size_t> LeastError(const std::vector<SweepCounts>& sweep);

// The counts at every threshold, and the first threshold of least error.
struct GapSweep {
    std::vector<SweepCounts> counts;
    std::optional<std::size_t> least;
    // The least error's threshold as a number, for a picture; none for no thresholds.
    std::optional<double> BestThreshold() const;
};
GapSweep SweepOf(const GapAnalysis& analysis, const std::vector<Fraction>& thresholds);
// gap's thresholds when none are given: 0.001 to 0.05 by 0.001.
std::vector<Fraction> DefaultSweepThresholds();

}  // namespace kadrel
