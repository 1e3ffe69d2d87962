#pragma once
#include <string_view>

#include "align/AlignedPair.h"

namespace kadrel {

// Reads the aligner's CLUSTAL text: "Len=" on the first line, then blocks of four lines
// (first sequence, second sequence, two ignored lines). Any line end is accepted.
// The result is unusable when "Len=" is missing or a sequence does not hold `length` sites.
// From `AnyClustal` (alignments users bring), a first line that begins with "CLUSTAL" and has no
// "Len=" is CLUSTAL from another program (ClustalW, Clustal Omega): blocks of name and sequence
// lines, residue counts and conservation lines allowed; the length is the alignment's own, and it
// must hold exactly two sequences. t_coffee's own output always carries "Len=".
enum class AlignmentSource { TCoffee, AnyClustal };
AlignedPair ReadAlignedPair(std::string_view outputText, AlignmentSource source = AlignmentSource::TCoffee);

// The leading number of `text` as the aligner's header writes it: blanks, tabs and line feeds
// are skipped anywhere, reading stops at the first character that cannot continue it; 0 if none.
double LeadingNumber(std::string_view text);

}  // namespace kadrel
