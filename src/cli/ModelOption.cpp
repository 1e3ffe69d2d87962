#include "cli/ModelOption.h"

#include "distances/DistanceModel.h"

namespace kadrel::cli {

void AddModelOption(CLI::App& command, std::string& model) {
    const CLI::Validator knownModel(
        [](std::string& word) -> std::string {
            if (ParseModelName(word)) return {};
            return "unknown model '" + word + "' (choose none, jc, k2p, tn84, t3p, tn93 or logdet)";
        },
        "MODEL");
    command.add_option("-m,--model", model, "Distance model: none, jc, k2p, tn84, t3p, tn93, logdet (any case)")
        ->check(knownModel)
        ->capture_default_str();
}

void AddTextbookOption(CLI::App& command, bool& textbook) {
    command.add_flag("--textbook", textbook,
                     "Published formulas (as R's ape computes them): the model column, p and its counts over "
                     "the sites where both sequences hold A, C, G or T");
}

}  // namespace kadrel::cli
