#pragma once
#include <cstddef>
#include <string>

#include "align/AlignedPair.h"

namespace kadrel {

// An alignment as its columns, one character each: both residues, or one sequence's residue
// against a gap in the other.
constexpr char kBoth = 'M';
constexpr char kFirstOnly = 'D';
constexpr char kSecondOnly = 'I';

// Whether `columns` uses exactly `firstLength` residues of the first sequence and `secondLength`
// of the second.
bool ColumnsFit(const std::string& columns, std::size_t firstLength, std::size_t secondLength);

// t_coffee leaves the residues next to a ragged edge outside the gap, against the other side's
// edge residues. So: at the start, the first residue of the side that has the gap goes to the
// first column, and the second one with it unless that costs more than one more mismatch; at the
// end, the last residue goes to the last column. `first` and `second` are the texts as scored
// (equal characters match).
void PlaceTerminalGaps(std::string& columns, const std::string& first, const std::string& second);

// The two aligned texts: the residues as given, '-' where a column has none.
AlignedPair AlignedTexts(const std::string& columns, const std::string& first, const std::string& second);

}  // namespace kadrel
