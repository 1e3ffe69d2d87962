#include "distances/PairRow.h"

#include "distances/Models.h"
#include "distances/NumberText.h"
#include "distances/Rounding.h"
#include "distances/StepArithmetic.h"
#include "distances/TextbookModels.h"
#include "sites/CompareSites.h"

namespace kadrel {

Value PairRow::RankingDistance(DistanceModel model) const {
    return model == DistanceModel::None ? pDistance : modelDistance;
}

bool PairRow::HasNA(DistanceModel model) const {
    for (const Value* v : {&length, &differences, &pDistance, &gaps, &transitions, &transversions, &tsTvRatio}) {
        if (!*v) return true;
    }
    return model != DistanceModel::None && !modelDistance;
}

PairRow FinishPairRow(const PairDistances& distances, const PairCounts& counts, double length,
                      DistanceModel model) {
    PairRow row;
    row.length = step::Finished(length);
    row.differences = counts.differences;
    row.pDistance = distances.pDistance;
    row.gaps = counts.gaps;
    row.transitions = counts.transitions;
    row.transversions = counts.transversions;
    row.tsTvRatio = distances.tsTvRatio;
    row.compared = step::Finished(length - counts.gaps);
    if (model == DistanceModel::None) return row;

    // Identical or nearly identical pairs get 0 by Jukes-Cantor whatever the model: the other
    // formulas are undefined or unstable there. The run's model is unchanged for the next pair.
    const Value raw = (distances.pDistance && *distances.pDistance == 0)
                          ? JukesCantorDistance(*distances.pDistance)
                          : ModelDistance(model, distances, counts);
    if (raw) row.modelDistance = step::Finished(RoundHalfEven(*raw, 3));
    return row;
}

namespace {

// The published forms compare only the sites where both sequences hold a definite base, as ape's
// pairwise deletion does, so the row counts those too: the length, the differences and p are ape's
// raw distance and its parts, and the transitions and transversions ape's TS and TV, so that they
// add up to the differences the row shows. The gap column keeps the alignment's gap sites: ape has
// no such count, and it tells how many columns the gaps took out.
PairRow TextbookPairRow(const AlignedPair& pair, const PairCounts& counts, DistanceModel model) {
    const DefiniteSites sites = CountDefiniteSites(pair);
    const double compared = sites.Compared(), transversions = sites.Transversions();
    const double transitions = sites.Transitions(BaseA, BaseG) + sites.Transitions(BaseC, BaseT);
    PairRow row;
    row.length = compared;
    row.compared = compared;
    row.differences = sites.Differences();
    row.pDistance = step::Finished(RoundHalfEven(step::Div(sites.Differences(), compared), 3));
    row.gaps = counts.gaps;
    row.transitions = transitions;
    row.transversions = transversions;
    row.tsTvRatio = step::Finished(RoundHalfEven(step::Div(transitions, transversions == 0 ? 1 : transversions), 3));
    if (model == DistanceModel::None) return row;
    const Value raw = TextbookDistance(model, sites);
    if (raw) row.modelDistance = step::Finished(RoundHalfEven(*raw, 3));
    return row;
}

}  // namespace

PairRow ComputePairRow(const AlignedPair& pair, DistanceModel model, bool textbook) {
    if (!pair.usable || BaselessSequence(pair) != 0) return PairRow{};
    const PairCounts counts = CompareSites(pair);
    PairRow row = textbook ? TextbookPairRow(pair, counts, model)
                           : FinishPairRow(DerivePairDistances(counts, pair.length), counts, pair.length, model);
    row.shape = MeasureAlignment(pair);
    return row;
}

std::string PairRowText(std::string_view name1, std::string_view name2, const PairRow& row,
                        DistanceModel model, std::string_view sep) {
    std::string text;
    text.reserve(name1.size() + name2.size() + 64);
    text.append(name1).append("\t").append(name2);
    for (const Value* v : {&row.length, &row.differences, &row.pDistance, &row.gaps, &row.transitions,
                           &row.transversions, &row.tsTvRatio}) {
        text += '\t';
        text += ValueText(*v, sep);
    }
    if (model != DistanceModel::None) {
        text += '\t';
        text += ValueText(row.modelDistance, sep);
    }
    text += "\r\n";
    return text;
}

std::string ColumnTitleLine(DistanceModel model, bool textbook) {
    std::string line = "Seq1\tSeq2\tLength\tNo. Diff.\tp-Dist\tNo. gaps\tNo. Trans.\tNo. Transv.\tTs/Tv\t";
    line.append(textbook ? TextbookColumnTitle(model) : std::string(ColumnTitle(model)));
    line += "\r\n";
    return line;
}

}  // namespace kadrel
