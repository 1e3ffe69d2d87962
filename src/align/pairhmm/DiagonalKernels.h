#pragma once
#include <cstdint>
#include <vector>

namespace kadrel::pairhmm {

// One anti-diagonal of the pair-HMM, n cells, lane t being residue i = first + t of X. The cells
// of an anti-diagonal depend only on the two before it (or after it, going backward), so they
// are computed side by side, each with exactly the operations, in exactly the order, that the
// cell-by-cell recurrence does; neighbours beyond the matrix read as the zero sentinel.
// `cx` and `cy` give the residue classes of x_i and y_j for lane t at [t].

// Forward: diag* is (i-1, j-1), up* is (i-1, j), left* is (i, j-1).
void ForwardDiagonal(int n, const float* diagM, const float* diagIns, const float* diagDel, const float* upM,
                     const float* upIns, const float* leftM, const float* leftDel, const std::uint8_t* cx,
                     const std::uint8_t* cy, float* m, float* ins, float* del);

// Backward: diagM is (i+1, j+1), downIns is (i+1, j), rightDel is (i, j+1); cx and cy are the
// classes of x_{i+1} and y_{j+1}. Adds the new match state onto `sum` (forward's, in place).
void BackwardDiagonal(int n, const float* diagM, const float* downIns, const float* rightDel, const std::uint8_t* cx,
                      const std::uint8_t* cy, float* m, float* ins, float* del, float* sum);

// The same, 16 cells at a time, for processors with AVX-512 (HasAvx512()), and 8 at a time for
// those with AVX2 (HasAvx2()).
bool HasAvx512();
void ForwardDiagonal512(int n, const float* diagM, const float* diagIns, const float* diagDel, const float* upM,
                        const float* upIns, const float* leftM, const float* leftDel, const std::uint8_t* cx,
                        const std::uint8_t* cy, float* m, float* ins, float* del);
void BackwardDiagonal512(int n, const float* diagM, const float* downIns, const float* rightDel,
                         const std::uint8_t* cx, const std::uint8_t* cy, float* m, float* ins, float* del, float* sum);
bool HasAvx2();
void ForwardDiagonal256(int n, const float* diagM, const float* diagIns, const float* diagDel, const float* upM,
                        const float* upIns, const float* leftM, const float* leftDel, const std::uint8_t* cx,
                        const std::uint8_t* cy, float* m, float* ins, float* del);
void BackwardDiagonal256(int n, const float* diagM, const float* downIns, const float* rightDel,
                         const std::uint8_t* cx, const std::uint8_t* cy, float* m, float* ins, float* del, float* sum);

// One set of the two kernels, by the instructions it needs.
struct KernelSet {
    const char* name;  // "avx512", "avx2" or "portable"
    decltype(&ForwardDiagonal) forward;
    decltype(&BackwardDiagonal) backward;
};
// Every set this processor can run, widest first; the portable one always last.
std::vector<KernelSet> RunnableKernels();
// The widest of them, or, when KADREL_PAIRHMM_KERNELS names a runnable set, that one (tests hold
// each path to t_coffee's answers with it). Chosen once.
const KernelSet& ChosenKernels();

// The first cell, from `first` on, that may pass the posterior threshold: its match sum less
// `total` is above -16 (below, the exponential is 0); n when there is none.
int NextCandidate(const float* sum, int first, int n, float total);

}  // namespace kadrel::pairhmm
