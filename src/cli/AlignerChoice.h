#pragma once
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "align/Aligner.h"
#include "align/pairhmm/PairHmmAligner.h"
#include "calc/SequenceSet.h"

namespace kadrel::cli {

// -a/--aligner and --aligner-timeout, as every subcommand that runs a comparison has them.
void AddAlignerOptions(CLI::App& command, std::string& aligner, unsigned& timeoutSeconds);

// The aligner a command line names, ready to run on the two sets; `pairhmm` points to it when it
// is t_coffee's method in process. No aligner, and the message for the user, when it cannot run
// (t_coffee missing, or every pair needing it).
struct ChosenAligner {
    std::unique_ptr<Aligner> aligner;
    PairHmmAligner* pairhmm = nullptr;
    std::string problem;
};
ChosenAligner ChooseAligner(const std::string& name, std::chrono::seconds timeLimit, const SequenceSet& set1,
                            const SequenceSet& set2);

}  // namespace kadrel::cli
