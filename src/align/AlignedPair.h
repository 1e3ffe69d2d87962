#pragma once
#include <string>
#include <string_view>

namespace kadrel {

// One pair as the aligner returned it. Site n (counted from 1) of `first` is first[n - 1].
// A pair is fresh for every comparison, so nothing of an earlier pair can leak into a row.
struct AlignedPair {
    std::string first;
    std::string second;
    double length = 0;          // the aligner's own "Len=" figure, gap columns included
    std::string firstLabel;     // the name field of the first block's sequence lines
    std::string secondLabel;
    bool usable = false;        // false: every numeric column of the row is NA
    std::string failure;        // why it is unusable, for messages
};

// 1 or 2: the aligned sequence that holds no A, C, G or T (either case, U for T), which leaves
// nothing of the pair to compare; 0 when both hold one.
inline int BaselessSequence(const AlignedPair& pair) {
    constexpr std::string_view bases = "ACGTUacgtu";
    if (pair.first.find_first_of(bases) == std::string::npos) return 1;
    if (pair.second.find_first_of(bases) == std::string::npos) return 2;
    return 0;
}

}  // namespace kadrel
