#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// Reads come as FASTQ, and a quality line may well start with '>': cut at every '>' as FASTA is,
// such a file would turn into records of quality letters. A text whose first byte is '@' is read
// as FASTQ instead; the qualities are of no use to a distance and are dropped.
inline bool IsFastq(std::string_view text) { return text.starts_with('@'); }

// The records of a FASTQ text as a FASTA set holds them: piece 0 empty, then per read its header
// (after the '@'), LF, its sequence on one line, LF. Throws std::runtime_error saying which line
// is wrong when the text is not FASTQ (no '+' line, qualities that do not match the sequence).
std::vector<std::string> FastqPieces(std::string_view text);

}  // namespace kadrel
