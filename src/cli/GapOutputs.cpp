#include "cli/GapOutputs.h"

#include <functional>

#include "calc/GapTables.h"
#include "ui/GapCharts.h"

namespace kadrel::cli {
namespace {

std::optional<std::string> WriteTable(const std::string& option, const std::string& file, const std::string& text) {
    ReportOutput out(file);
    if (!out.Failed()) out.Write(text);
    if (out.Close() && !out.Failed()) return std::nullopt;
    return option + ": " + out.Problem();
}

std::optional<std::string> DrawPictures(const GapOutputFiles& files, const GapAnalysis& analysis, const GapSweep& sweep) {
    const std::vector<std::pair<std::string, std::function<QChart*()>>> pictures = {
        {files.gapPlot, [&] { return ui::MakeGapPlot(analysis); }},
        {files.histogram, [&] { return ui::MakeGapHistogram(analysis, sweep.BestThreshold()); }},
        {files.sweepPlot, [&] { return ui::MakeSweepPlot(sweep.counts); }}};
    for (const auto& picture : pictures) {
        const std::string& file = picture.first;
        const auto& make = picture.second;
        if (file.empty()) continue;
        const std::string problem =
            ui::DrawChartOffscreen([&] { return ui::SaveChart(make(), QString::fromStdString(file)); });
        if (!problem.empty()) return problem;
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> GapOutputFiles::Named() const {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [option, file] : {std::pair{"--species", species}, {"--specimens", specimens}, {"--sweep", sweep},
                                       {"--matrix", matrix}, {"--gap-plot", gapPlot}, {"--histogram", histogram},
                                       {"--sweep-plot", sweepPlot}})
        if (!file.empty()) files.emplace_back(option, file);
    return files;
}

std::optional<std::string> WriteGapOutputs(const GapOutputFiles& files, const GapAnalysis& analysis,
                                           const GapSweep& sweep, SquareMatrix* matrix, ReportOutput& console) {
    std::optional<std::string> problem;
    if (files.species.empty()) {
        console.Write(SpeciesTable(analysis));
        if (!console.Close()) problem = console.Problem();
    } else {
        problem = WriteTable("--species", files.species, SpeciesTable(analysis));
    }
    if (!problem && !files.specimens.empty()) problem = WriteTable("--specimens", files.specimens, SpecimensTable(analysis));
    if (!problem && !files.sweep.empty()) problem = WriteTable("--sweep", files.sweep, SweepTable(sweep.counts));
    if (!problem && matrix) {
        ReportOutput out(files.matrix);
        problem = out.Failed() ? std::optional<std::string>(out.Problem()) : matrix->Write(out, RecordIds(analysis));
        if (!problem && !out.Close()) problem = out.Problem();
        if (problem) problem = "--matrix: " + *problem;
    }
    if (!problem) problem = DrawPictures(files, analysis, sweep);
    return problem;
}

}  // namespace kadrel::cli
