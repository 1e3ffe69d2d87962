#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "align/TextFile.h"
#include "calc/DistanceHistogram.h"
#include "calc/ReportDistances.h"
#include "cli/Commands.h"
#include "distances/NumberText.h"
#include "ui/DistanceChart.h"

namespace kadrel::cli {
namespace {
namespace fs = std::filesystem;

struct PlotOptions {
    std::string report;
    std::string output;  // default: the report's name with .svg
    double threshold = ui::kDefaultThreshold;
};

std::string CountsText(const ThresholdCounts& counts, double threshold) {
    std::string text = std::to_string(counts.below) + " below " + NumberText(threshold, LocaleDecimalSeparator());
    text += ", " + std::to_string(counts.atOrAbove) + " at or above";
    if (counts.na != 0) text += ", " + std::to_string(counts.na) + " NA";
    return text;
}

int RunPlot(const PlotOptions& options) {
    std::string error;
    const auto text = ReadWholeFile(options.report, error);
    if (!text) return Fail("cannot read \"" + options.report + "\": " + error);
    ReportDistances report;
    try {
        report = ReadReportDistances(*text);
    } catch (const ReportFormatError& e) {
        return Fail("\"" + options.report + "\": " + e.what());
    }
    if (const auto nothing = NothingToDraw(report)) return Fail("\"" + options.report + "\": " + *nothing);

    const std::string output =
        options.output.empty() ? fs::path(options.report).replace_extension(".svg").string() : options.output;
    std::error_code ec;
    if (fs::equivalent(output, options.report, ec))
        return Fail("the picture \"" + output + "\" would overwrite the report; choose another file (-o FILE)");
    if (const std::string problem = ui::DrawReportChart(report, options.threshold, output); !problem.empty())
        return Fail(problem);

    const DistanceHistogram histogram = MakeDistanceHistogram(report, options.threshold);
    std::cerr << "kadrel: " << report.pairs.size() << " pairs (" << CountsText(histogram.pairsCounts, options.threshold)
              << ") and " << report.best.size() << " best matches ("
              << CountsText(histogram.bestCounts, options.threshold) << ") drawn in \"" << output << "\"\n";
    if (!report.stopped.empty())
        std::cerr << "kadrel: \"" << options.report << "\" holds only part of its run (\"" << report.stopped
                  << "\"); the picture shows that part\n";
    return 0;
}

}  // namespace

CommandRunner AddPlotCommand(CLI::App& app) {
    auto options = std::make_shared<PlotOptions>();
    CLI::App* command = app.add_subcommand(
        "plot", "Draw a histogram of a report's distances, the best matches over it, with a threshold");
    command->add_option("REPORT", options->report, "A report written by kadrel compare (or saved by the window)")
        ->required();
    std::string kinds;
    for (const std::string& kind : ui::PictureExtensions()) kinds += (kinds.empty() ? "." : ", .") + kind;
    command->add_option("-o,--output", options->output,
                        "The picture, of the kind its extension names: " + kinds +
                            " (default: the report's name with .svg for its extension)");
    command->add_option("--threshold", options->threshold, "The distance marked by a line")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    return [options] { return RunPlot(*options); };
}

}  // namespace kadrel::cli
