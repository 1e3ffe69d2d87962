#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "align/AlignmentReader.h"
#include "align/TextFile.h"
#include "cli/Commands.h"
#include "cli/ModelOption.h"
#include "distances/NumberText.h"
#include "distances/PairRow.h"

namespace kadrel::cli {
namespace {

struct DistanceOptions {
    std::string model = "none";
    bool textbook = false;
    std::vector<std::string> files;
};

int RunDistance(const DistanceOptions& options) {
    const DistanceModel model = *ParseModelName(options.model);
    const std::string sep = LocaleDecimalSeparator();
    std::cout << ColumnTitleLine(model, options.textbook);
    bool unreadable = false, hasNA = false;
    for (const std::string& path : options.files) {
        std::string error;
        const auto text = ReadWholeFile(path, error);
        if (!text) {
            std::cout.flush();
            std::cerr << "kadrel: cannot read " << path << ": " << error << "\n";
            unreadable = true;
            continue;
        }
        const AlignedPair pair = ReadAlignedPair(*text, AlignmentSource::AnyClustal);
        if (!pair.usable) {
            std::cerr << "kadrel: " << path << ": unusable alignment: " << pair.failure << "\n";
        } else if (const int side = BaselessSequence(pair); side != 0) {
            const std::string& label = side == 1 ? pair.firstLabel : pair.secondLabel;
            std::cerr << "kadrel: " << path << ": unusable alignment: sequence " << side
                      << (label.empty() ? "" : " (" + label + ")") << " holds no A, C, G or T\n";
        }
        const PairRow row = ComputePairRow(pair, model, options.textbook);
        hasNA = hasNA || row.HasNA(model);
        std::cout << PairRowText(pair.firstLabel, pair.secondLabel, row, model, sep);
    }
    std::cout.flush();
    if (unreadable) return 2;
    return hasNA ? 1 : 0;
}

}  // namespace

CommandRunner AddDistanceCommand(CLI::App& app) {
    auto options = std::make_shared<DistanceOptions>();
    CLI::App* command = app.add_subcommand(
        "distance",
        "Write the report row of alignments already made (CLUSTAL .aln text of t_coffee, ClustalW, Clustal Omega, ...)");
    AddModelOption(*command, options->model);
    AddTextbookOption(*command, options->textbook);
    command->add_option("files", options->files, "Alignment files (.aln)")->required();
    return [options] { return RunDistance(*options); };
}

}  // namespace kadrel::cli
