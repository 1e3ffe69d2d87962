#include <clocale>
#include <cstdlib>
#include <iostream>

#include "cli/Commands.h"
#include "cli/VersionText.h"
#include "ui/KadrelWindow.h"

namespace kadrel::cli {

int Fail(const std::string& message) {
    std::cerr << "kadrel: " << message << "\n";
    return 2;
}

}  // namespace kadrel::cli

int main(int argc, char** argv) {
    // Numbers follow the user's locale (LC_NUMERIC / LANG); LC_ALL=C gives a point.
    std::setlocale(LC_ALL, "");
    // No arguments at all: the window. Subcommands never need a display.
    if (argc <= 1) {
        // Without a display Qt would abort; point to the command line instead.
        const char* const noDisplay =
            "kadrel: no display to open the window on; see 'kadrel --help' for the command line\n";
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
            std::cerr << noDisplay;
            return 2;
        }
        return kadrel::ui::RunKadrelWindow(argc, argv, noDisplay);
    }

    CLI::App app{"Kadrel: pairwise divergence of two sets of DNA sequences"};
    // Asked only when --version is given: it runs t_coffee.
    app.set_version_flag("--version", kadrel::cli::VersionText);
    app.require_subcommand(0, 1);

    const auto distance = kadrel::cli::AddDistanceCommand(app);
    const auto compare = kadrel::cli::AddCompareCommand(app);
    const auto merge = kadrel::cli::AddMergeCommand(app);
    const auto plot = kadrel::cli::AddPlotCommand(app);
    const auto align = kadrel::cli::AddAlignCommand(app);
    const auto identify = kadrel::cli::AddIdentifyCommand(app);
    const auto gap = kadrel::cli::AddGapCommand(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? 0 : 2;
    }

    if (app.got_subcommand("distance")) return distance();
    if (app.got_subcommand("compare")) return compare();
    if (app.got_subcommand("merge")) return merge();
    if (app.got_subcommand("plot")) return plot();
    if (app.got_subcommand("align")) return align();
    if (app.got_subcommand("identify")) return identify();
    if (app.got_subcommand("gap")) return gap();
    std::cout << app.help();
    return 0;
}
