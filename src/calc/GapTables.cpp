#include "calc/GapTables.h"

#include "calc/TableText.h"
#include "distances/NumberText.h"

namespace kadrel {
namespace {

std::string Flags(const std::vector<std::string>& flags) {
    std::string text;
    for (const std::string& flag : flags) text += (text.empty() ? "" : ",") + flag;
    return text;
}

// A nearest record's name and distance cells; empty and NA when there is none.
std::string NearestCells(const GapAnalysis& analysis, const Nearest& nearest) {
    if (!nearest.record) return "\tNA";
    return TableName(analysis.Records()[*nearest.record].id) + '\t' + NumberText(nearest.distance);
}

}  // namespace

std::string SpeciesTable(const GapAnalysis& analysis) {
    std::string text = "species\tn\tintra_mean\tintra_min\tintra_max\tnearest_species\tnearest_distance\tgap\tflags\n";
    const auto& all = analysis.Species();
    for (const SpeciesGap& species : all) {
        std::string nearest;
        for (const std::size_t other : species.nearestSpecies) nearest += (nearest.empty() ? "" : ";") + all[other].name;
        const auto gap = Gap(species);
        std::vector<std::string> flags;
        if (gap && *gap <= 0) flags.push_back("no gap");
        if (species.members == 1) flags.push_back("singleton");
        text += TableName(species.name) + '\t' + std::to_string(species.members) + '\t' +
                ValueText(IntraMean(species)) + '\t' + ValueText(IntraMin(species)) + '\t' +
                ValueText(IntraMax(species)) + '\t' + TableName(nearest) + '\t' + ValueText(species.nearestDistance) +
                '\t' + ValueText(gap) + '\t' + Flags(flags) + '\n';
    }
    return text;
}

std::string SpecimensTable(const GapAnalysis& analysis) {
    std::string text =
        "record\tspecies\tnearest_conspecific\tconspecific_distance\tnearest_other\tother_species\tother_distance\t"
        "flags\n";
    for (const RecordGap& record : analysis.Records()) {
        std::vector<std::string> flags;
        std::string species = "unclassified", otherSpecies;
        if (!record.species) {
            flags.push_back("unclassified");
        } else {
            species = analysis.Species()[*record.species].name;
            if (analysis.Species()[*record.species].members == 1) flags.push_back("singleton");
            if (NearerAnotherSpecies(record)) flags.push_back("nearer another species");
        }
        if (record.other.record) {
            const auto& other = analysis.Records()[*record.other.record];
            otherSpecies = analysis.Species()[*other.species].name;
        }
        std::string otherCells = NearestCells(analysis, record.other);
        const auto tab = otherCells.find('\t');
        otherCells.insert(tab, '\t' + TableName(otherSpecies));
        text += TableName(record.id) + '\t' + TableName(species) + '\t' + NearestCells(analysis, record.conspecific) +
                '\t' + otherCells + '\t' + Flags(flags) + '\n';
    }
    return text;
}

std::string SweepTable(const std::vector<SweepCounts>& sweep) {
    std::string text = "threshold\ttrue_positive\tfalse_positive\tfalse_negative\ttrue_negative\terror\n";
    for (const SweepCounts& counts : sweep)
        text += DecimalText(counts.threshold) + '\t' + std::to_string(counts.truePositive) + '\t' +
                std::to_string(counts.falsePositive) + '\t' + std::to_string(counts.falseNegative) + '\t' +
                std::to_string(counts.trueNegative) + '\t' + std::to_string(counts.Error()) + '\n';
    return text;
}

std::string GapSummaryText(const GapAnalysis& analysis, const GapSweep& sweep) {
    std::size_t singletons = 0, noGap = 0, nearer = 0;
    for (const SpeciesGap& s : analysis.Species()) {
        singletons += s.members == 1 ? 1 : 0;
        const auto gap = Gap(s);
        noGap += gap && *gap <= 0 ? 1 : 0;
    }
    for (const RecordGap& r : analysis.Records()) nearer += NearerAnotherSpecies(r) ? 1 : 0;
    std::string text = std::to_string(analysis.Species().size()) + " species (" + std::to_string(singletons) +
                       " singletons, " + std::to_string(noGap) + " without a gap), " + std::to_string(nearer) +
                       (nearer == 1 ? " record" : " records") + " nearer another species";
    if (sweep.least)
        text += "; least error " + std::to_string(sweep.counts[*sweep.least].Error()) + " at threshold " +
                DecimalText(sweep.counts[*sweep.least].threshold);
    return text;
}

}  // namespace kadrel
