#include <cstdlib>
#include <string_view>

#include "align/pairhmm/DiagonalKernels.h"

namespace kadrel::pairhmm {

std::vector<KernelSet> RunnableKernels() {
    std::vector<KernelSet> sets;
    if (HasAvx512()) sets.push_back({"avx512", ForwardDiagonal512, BackwardDiagonal512});
    if (HasAvx2()) sets.push_back({"avx2", ForwardDiagonal256, BackwardDiagonal256});
    sets.push_back({"portable", ForwardDiagonal, BackwardDiagonal});
    return sets;
}

const KernelSet& ChosenKernels() {
    static const KernelSet chosen = [] {
        const std::vector<KernelSet> sets = RunnableKernels();
        const char* wanted = std::getenv("KADREL_PAIRHMM_KERNELS");
        if (wanted != nullptr)
            for (const KernelSet& set : sets)
                if (std::string_view(wanted) == set.name) return set;
        return sets.front();
    }();
    return chosen;
}

}  // namespace kadrel::pairhmm
