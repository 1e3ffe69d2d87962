#include "calc/RunComparison.h"

namespace kadrel {

std::string RunSummary::StatusText() const {
    if (stopped) return "stopped";
    if (pairsFailed == 0) return "done";
    return "done (" + std::to_string(pairsFailed) + " of " + std::to_string(pairsCompared) +
           " pairs failed)";
}

std::string RunSummary::SkippedText() const {
    if (pairsSkipped == 0) return {};
    std::string text = std::to_string(pairsSkipped) + (pairsSkipped == 1 ? " pair" : " pairs") +
                       " skipped (the same file in both folder sets: ";
    for (std::size_t n = 0; n < skippedFiles.size(); ++n) text += (n == 0 ? "" : ", ") + skippedFiles[n];
    return text + (pairsSkipped > skippedFiles.size() ? ", ...)" : ")");
}

}  // namespace kadrel
