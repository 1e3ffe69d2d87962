#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

// The aligner's input for one pair: each record under a neutral name (s1, s2) with its sequence
// lines unchanged, each followed by CR LF. t_coffee refuses two sequences of one name, so the
// records' own names never reach it. A text that does not begin with '>' is all sequence lines.
std::string ComposeAlignerInput(std::string_view firstRecord, std::string_view secondRecord);

// The sequence lines of a record text: everything after its header line.
std::string_view SequenceLines(std::string_view recordText);

// The residues of a record as t_coffee reads them: its sequence lines less blanks, line ends and
// the characters it leaves out (# * - . ~); case and every other character are kept.
std::string SequenceResidues(std::string_view recordText);

// Why a record text cannot go to the aligner as one sequence ("holds more than one record",
// "holds no sequence"); no value when it can.
std::optional<std::string> RecordTextProblem(std::string_view recordText);

// "i_k": the two 0-based positions; it names the pair's work files.
std::string PairName(std::size_t first, std::size_t second);

}  // namespace kadrel
