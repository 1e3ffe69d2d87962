#include "cli/AlignerChoice.h"

#include "align/builtin/BuiltinAligner.h"
#include "align/tcoffee/TCoffeeAligner.h"

namespace kadrel::cli {
namespace {

// Whether some pair of the run is one that t_coffee's method in process aligns itself; the scan
// ends at the first such pair, so only a run of RNA, protein or empty records reads them all.
bool AnyPairInProcess(const SequenceSet& set1, const SequenceSet& set2) {
    for (std::size_t i = 0; i < set1.count; ++i) {
        const SequenceRecord first = LoadRecord(set1, i);
        for (std::size_t k = 0; k < set2.count; ++k)
            if (PairHmmAligner::InProcess(first.text, LoadRecord(set2, k).text)) return true;
    }
    return false;
}

}  // namespace

void AddAlignerOptions(CLI::App& command, std::string& aligner, unsigned& timeoutSeconds) {
    command.add_option("--aligner-timeout", timeoutSeconds,
                       "Seconds t_coffee may take for one pair before it is stopped and the pair fails (0: no limit)")
        ->capture_default_str();
    command.add_option("-a,--aligner", aligner,
                       "t_coffee (the external program), pairhmm (t_coffee's method, in process) or builtin")
        ->check(CLI::IsMember({"t_coffee", "pairhmm", "builtin"}))
        ->capture_default_str();
}

ChosenAligner ChooseAligner(const std::string& name, std::chrono::seconds timeLimit, const SequenceSet& set1,
                            const SequenceSet& set2) {
    ChosenAligner chosen;
    if (name == "t_coffee") {
        chosen.aligner = std::make_unique<TCoffeeAligner>(std::filesystem::path{}, timeLimit);
    } else if (name == "pairhmm") {
        auto own = std::make_unique<PairHmmAligner>();
        chosen.pairhmm = own.get();
        chosen.aligner = std::move(own);
    } else {
        chosen.aligner = std::make_unique<BuiltinAligner>();
    }
    if (auto message = chosen.aligner->CheckAvailable(); !message.empty()) {
        chosen.problem = std::move(message);
    } else if (chosen.pairhmm != nullptr && !chosen.pairhmm->HasTCoffee() && !AnyPairInProcess(set1, set2)) {
        chosen.problem = "every pair needs the real t_coffee (RNA, protein or empty sequences), and " +
                         TCoffeeAligner().CheckAvailable();
    }
    if (!chosen.problem.empty()) chosen.aligner.reset();
    return chosen;
}

}  // namespace kadrel::cli
