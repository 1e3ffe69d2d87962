#include <signal.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "calc/GapAnalysis.h"
#include "calc/GapSink.h"
#include "calc/GapTables.h"
#include "calc/IdentifyRun.h"
#include "calc/PairsAtOnce.h"
#include "calc/RunComparison.h"
#include "calc/SequenceSet.h"
#include "calc/TaxonomyTable.h"
#include "cli/AlignerChoice.h"
#include "cli/Commands.h"
#include "cli/ConsoleSink.h"
#include "cli/GapMatrix.h"
#include "cli/ModelOption.h"
#include "cli/OutputSafety.h"
#include "cli/ReportOutput.h"
#include "cli/RunCommandParts.h"
#include "cli/SignalStop.h"
#include "distances/NumberText.h"
#include "ui/GapCharts.h"

namespace kadrel::cli {
namespace {

struct GapOptions {
    std::string library;
    std::string model = "k2p";
    bool classic = false;
    std::string taxonomy;
    std::string species, specimens, sweep, matrix;
    std::string gapPlot, histogram, sweepPlot;
    std::string from = "0.001", to = "0.05", by = "0.001";
    unsigned jobs = 0;
    std::string aligner = "t_coffee";
    unsigned alignerTimeout = 600;
    std::size_t reuseLimit = kDefaultReuseLimit;
    bool noReuse = false;
    bool verbose = false;
};

// Every file the run writes, with the option that names it; standard output for the species
// table when --species is not given.
std::vector<std::pair<std::string, std::string>> Outputs(const GapOptions& o) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [option, file] : {std::pair{"--species", o.species}, {"--specimens", o.specimens},
                                       {"--sweep", o.sweep}, {"--matrix", o.matrix}, {"--gap-plot", o.gapPlot},
                                       {"--histogram", o.histogram}, {"--sweep-plot", o.sweepPlot}})
        if (!file.empty()) files.emplace_back(option, file);
    return files;
}

// Why an output would damage the user's data: the library, the taxonomy, or another output.
std::optional<std::string> OutputsProblem(const GapOptions& options, const SequenceSet& library) {
    const auto files = Outputs(options);
    for (std::size_t a = 0; a < files.size(); ++a) {
        const auto& [option, file] = files[a];
        if (const auto problem = OutputProblem(library, library, file, "")) return option + ": " + *problem;
        if (!options.taxonomy.empty() && SameFile(file, options.taxonomy))
            return option + ": \"" + file + "\" is the taxonomy file; choose another output";
        for (std::size_t b = 0; b < a; ++b)
            if (SameFile(file, files[b].second))
                return option + ": \"" + file + "\" is the file of " + files[b].first + " too; choose another file";
    }
    return std::nullopt;
}

std::optional<std::string> WriteTable(const std::string& option, const std::string& file, const std::string& text) {
    ReportOutput out(file);
    if (!out.Failed()) out.Write(text);
    if (out.Close() && !out.Failed()) return std::nullopt;
    return option + ": " + out.Problem();
}

// "12 species (2 singletons, 3 without a gap), 1 record nearer another species"
std::string GapText(const GapAnalysis& analysis) {
    std::size_t singletons = 0, noGap = 0, nearer = 0;
    for (const SpeciesGap& s : analysis.Species()) {
        singletons += s.members == 1 ? 1 : 0;
        const auto gap = Gap(s);
        noGap += gap && *gap <= 0 ? 1 : 0;
    }
    for (const RecordGap& r : analysis.Records()) nearer += NearerAnotherSpecies(r) ? 1 : 0;
    return std::to_string(analysis.Species().size()) + " species (" + std::to_string(singletons) + " singletons, " +
           std::to_string(noGap) + " without a gap), " + std::to_string(nearer) +
           (nearer == 1 ? " record" : " records") + " nearer another species";
}

std::optional<std::string> DrawPictures(const GapOptions& options, const GapAnalysis& analysis,
                                        const std::vector<SweepCounts>& sweep, std::optional<double> best) {
    const std::vector<std::pair<std::string, std::function<QChart*()>>> pictures = {
        {options.gapPlot, [&] { return ui::MakeGapPlot(analysis); }},
        {options.histogram, [&] { return ui::MakeGapHistogram(analysis, best); }},
        {options.sweepPlot, [&] { return ui::MakeSweepPlot(sweep); }}};
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

int RunGap(const GapOptions& options) {
    const DistanceModel model = *ParseModelName(options.model);
    SequenceSet library;
    std::vector<RecordTaxon> taxa;
    try {
        library = ReadSequenceSet(1, options.library);
        RequireRecords(library);
        std::optional<TaxonomyTable> table;
        if (!options.taxonomy.empty()) table = TaxonomyTable::Read(options.taxonomy);
        taxa = ReadRecordTaxa(library, table ? &*table : nullptr);
    } catch (const SetError& e) {
        return Fail(e.what());
    } catch (const TaxonomyError& e) {
        return Fail(e.what());
    }
    if (const auto problem = OutputsProblem(options, library)) return Fail(*problem);
    const auto from = ParseDecimal(options.from), to = ParseDecimal(options.to), by = ParseDecimal(options.by);
    if (!from || !to || !by || by->numerator == 0 || *to < *from)
        return Fail("--from, --to and --by: give decimals with a point, --from at most --to and --by above 0");
    ChosenAligner chosen =
        ChooseAligner(options.aligner, std::chrono::seconds(options.alignerTimeout), library, library);
    if (!chosen.aligner) return Fail(chosen.problem);

    RunOptions run;
    run.model = model;
    run.textbook = !options.classic;
    run.laterOnly = true;
    const PairsAtOnce pairsAtOnce = ChoosePairsAtOnce(library, library, options.aligner == "t_coffee", options.jobs);
    if (!pairsAtOnce.notice.empty()) std::cerr << "kadrel: " << pairsAtOnce.notice << "\n";
    run.concurrentPairs = pairsAtOnce.pairs;
    run.alignerName = options.aligner;
    run.reuseLimit = options.noReuse ? 0 : options.reuseLimit;

    std::vector<std::string> ids, species;
    for (const RecordTaxon& taxon : taxa) {
        ids.push_back(taxon.id);
        species.push_back(taxon.lineage.At(Rank::Species));
    }
    GapAnalysis analysis(ids, species);
    std::optional<SquareMatrix> matrix;
    if (!options.matrix.empty()) {
        matrix.emplace(library.count);
        if (!matrix->Problem().empty()) return Fail(matrix->Problem());
    }
    ReportOutput console("");  // the species table, unless --species names a file
    std::stop_source stop;
    StopOnSignals(stop);
    ConsoleSink progress(console, stop, options.verbose);
    GapSink sink(progress, analysis, model, library.count,
                 matrix ? GapSink::RowReceiver([&](std::size_t i, const std::vector<double>& later) { matrix->Row(i, later); })
                        : GapSink::RowReceiver());
    const RunSummary summary = RunComparison(library, library, run, *chosen.aligner, sink, stop.get_token());
    progress.ClearProgress();

    std::vector<SweepCounts> sweep;
    for (const Fraction& threshold : SweepThresholds(*from, *to, *by)) sweep.push_back(analysis.CountsAt(threshold));
    const auto least = LeastError(sweep);
    const std::optional<double> best =
        least ? std::optional<double>(static_cast<double>(sweep[*least].threshold.numerator) /
                                      static_cast<double>(sweep[*least].threshold.denominator))
              : std::nullopt;
    std::optional<std::string> problem;
    if (options.species.empty()) {
        console.Write(SpeciesTable(analysis));
        if (!console.Close()) problem = console.Problem();
    } else {
        problem = WriteTable("--species", options.species, SpeciesTable(analysis));
    }
    if (!problem && !options.specimens.empty()) problem = WriteTable("--specimens", options.specimens, SpecimensTable(analysis));
    if (!problem && !options.sweep.empty()) problem = WriteTable("--sweep", options.sweep, SweepTable(sweep));
    if (!problem && matrix) {
        ReportOutput out(options.matrix);
        problem = out.Failed() ? std::optional<std::string>(out.Problem()) : matrix->Write(out, ids);
        if (!problem && !out.Close()) problem = out.Problem();
        if (problem) problem = "--matrix: " + *problem;
    }
    if (!problem) problem = DrawPictures(options, analysis, sweep, best);
    if (console.ReaderGone()) return 128 + SIGPIPE;
    if (problem) return Fail(*problem);

    if (const std::string line = progress.RecordWarningsLine(); !line.empty()) std::cerr << line << "\n";
    std::string more = chosen.pairhmm ? std::to_string(chosen.pairhmm->PairsSentToTCoffee()) + " aligned by t_coffee" : "";
    std::string closing = ClosingSummary(summary, more) + "; " + GapText(analysis);
    if (least)
        closing += "; least error " + std::to_string(sweep[*least].Error()) + " at threshold " +
                   DecimalText(sweep[*least].threshold);
    std::cerr << "kadrel: " << closing << "\n";
    if (summary.stopped) return kStoppedStatus;
    return summary.pairsFailed == 0 ? 0 : 1;
}

CLI::Validator Decimal() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            return ParseDecimal(text) ? "" : "'" + text + "' is not a decimal number such as 0.02 (with a point)";
        },
        "DECIMAL");
}

}  // namespace

CommandRunner AddGapCommand(CLI::App& app) {
    auto options = std::make_shared<GapOptions>();
    CLI::App* command = app.add_subcommand(
        "gap", "Check a reference library: the barcoding gap of every species, the records nearer another "
               "species, and the threshold of fewest identification errors");
    command->add_option("LIBRARY", options->library, "The library: a folder or a multiple-sequence file")->required();
    AddModelOption(*command, options->model);
    command->add_flag("--classic", options->classic,
                      "Kadrel's classic formulas for the distance (by default the published ones)");
    command->add_option("--taxonomy", options->taxonomy,
                        "A tab-separated table of lineages by record id (columns named by rank), over the headers'");
    command->add_option("--species", options->species,
                        "The species table (default: standard output)");
    command->add_option("--specimens", options->specimens, "Also write one line per record to FILE");
    command->add_option("--sweep", options->sweep, "Also write the identification errors per threshold to FILE");
    command->add_option("--from", options->from, "The sweep's first threshold")->check(Decimal())->capture_default_str();
    command->add_option("--to", options->to, "The sweep's last threshold")->check(Decimal())->capture_default_str();
    command->add_option("--by", options->by, "The sweep's step")->check(Decimal())->capture_default_str();
    command->add_option("--matrix", options->matrix, "Also write the square distance matrix to FILE");
    std::string kinds;
    for (const std::string& kind : ui::PictureExtensions()) kinds += (kinds.empty() ? "." : ", .") + kind;
    command->add_option("--gap-plot", options->gapPlot,
                        "Draw each species' largest intraspecific distance against its nearest other species (" +
                            kinds + ")");
    command->add_option("--histogram", options->histogram,
                        "Draw the intraspecific and interspecific distances, with the best threshold");
    command->add_option("--sweep-plot", options->sweepPlot, "Draw the false positives and negatives per threshold");
    AddJobsOption(*command, options->jobs);
    AddAlignerOptions(*command, options->aligner, options->alignerTimeout);
    AddReuseOptions(*command, options->reuseLimit, options->noReuse);
    AddVerboseFlag(*command, options->verbose);
    return [options] { return RunReportingFailure([&] { return RunGap(*options); }); };
}

}  // namespace kadrel::cli
