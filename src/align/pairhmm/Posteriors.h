#pragma once
#include <string_view>
#include <vector>

namespace kadrel::pairhmm {

// A residue pair of the primary library: position i of X matched with position j of Y (both from
// 1), with its weight, the match posterior times 1000 (10..999).
struct LibraryCell {
    int i = 0;
    int j = 0;
    int weight = 0;
};

// Runs the forward and backward passes of the pair-HMM over X and Y and returns every cell whose
// match posterior exceeds 0.01, in scanning order (anti-diagonal, then i, ascending). The matrix
// costs one float per cell (and two per anti-diagonal): forward keeps only its match state whole,
// backward adds onto it diagonal by diagonal.
// `matrix` is that space, kept by the caller so that a run of pairs allocates it once.
std::vector<LibraryCell> MatchPosteriors(std::string_view x, std::string_view y, std::vector<float>& matrix);

}  // namespace kadrel::pairhmm
