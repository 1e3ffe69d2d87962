#include "SplitCommandLine.h"

#include <CLI/CLI.hpp>

#include "SourceCommit.h"
#include "SplitRun.h"
#include "StopSignals.h"

namespace lutrane {

int RunSplitCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Lutrane: splits multi-record FASTA files into one .fas file per record.\n"
                 "Without arguments it opens its window.",
                 "lutrane"};
    const std::string commit = KADREL_SOURCE_COMMIT;
    app.set_version_flag("--version", std::string("lutrane ") + LUTRANE_VERSION +
                                          (commit.empty() ? "" : "\nsource commit " + commit));

    std::vector<std::string> inputs;
    std::string outputFolder = ".";
    app.add_option("FASTA", inputs, "Multi-record FASTA file(s) to split")->required();
    app.add_option("-o,--output", outputFolder, "Folder for the .fas files (made if missing)")
        ->capture_default_str()
        ->type_name("DIR");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e, out, err);
        return status == 0 ? 0 : 2;
    }

    const StopSignals signals;
    const SplitResult result = SplitFiles({inputs.begin(), inputs.end()}, outputFolder,
                                          [&signals] { return signals.Received() != 0; });
    if (!result.error.empty()) {
        err << "lutrane: " << result.error << '\n';
        return result.interrupted ? 128 + signals.Received() : 2;
    }
    for (const std::string& note : result.notes) err << "lutrane: " << note << '\n';
    err << WrittenMessage(result.filesWritten, result.folder) << '\n';
    return 0;
}

}  // namespace lutrane
