#pragma once
#include <string>
#include <string_view>

#include "align/AlignedPair.h"
#include "distances/DistanceModel.h"
#include "distances/PairDistances.h"
#include "sites/AlignmentShape.h"
#include "sites/PairCounts.h"

namespace kadrel {

// The numeric columns of one report row, as printed (rounded where the row rounds).
struct PairRow {
    Value length, differences, pDistance, gaps, transitions, transversions, tsTvRatio;
    Value modelDistance;  // absent under None
    // Not printed in the report: the denominator of p (the columns less the gap sites, or under the
    // published forms the sites where both hold A, C, G or T), and where the two sequences meet.
    Value compared;
    AlignmentShape shape;
    // The value a best match ranks by: the model distance, or the p-distance under None.
    Value RankingDistance(DistanceModel model) const;
    bool HasNA(DistanceModel model) const;
};

// Columns 3 to 10 from the counts, with the zero-distance rule for a rounded p-distance of 0.
PairRow FinishPairRow(const PairDistances& distances, const PairCounts& counts, double length,
                      DistanceModel model);

// The whole road from an aligned pair to its row; an unusable pair, or one with a sequence
// without any base, gives NA in every column.
// `textbook`: the published forms (TextbookModels.h), with the length, the differences, p and the
// transitions and transversions counted over the sites where both sequences hold a definite base.
PairRow ComputePairRow(const AlignedPair& pair, DistanceModel model, bool textbook = false);

// "name1<TAB>name2<TAB>length...<TAB>Ts/Tv[<TAB>model]" and CR LF.
std::string PairRowText(std::string_view name1, std::string_view name2, const PairRow& row,
                        DistanceModel model, std::string_view decimalSeparator);

// The report's column-title line, CR LF included; with None it ends in a tab.
std::string ColumnTitleLine(DistanceModel model, bool textbook = false);

}  // namespace kadrel
