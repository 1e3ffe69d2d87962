#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kadrel::pairhmm {

struct PairRecord {
    std::string name;      // as t_coffee edits it for its output
    std::string residues;  // gap characters removed, case kept
};

// A FASTA text read as t_coffee reads it. `offPath` says why t_coffee would take another path
// than its two-sequence DNA method for it (RNA, protein, not two records, an empty sequence,
// a text another of its readers would claim, ...); empty when the method applies.
struct PairInput {
    std::vector<PairRecord> records;
    std::string offPath;
};

PairInput ReadPairInput(std::string_view text);

}  // namespace kadrel::pairhmm
