#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "align/ClustalWriter.h"
#include "align/TextFile.h"
#include "align/builtin/BuiltinAligner.h"
#include "align/pairhmm/PairInput.h"
#include "align/pairhmm/TCoffeeMethod.h"
#include "align/tcoffee/TCoffeeAligner.h"
#include "calc/SequenceSet.h"
#include "cli/Commands.h"
#include "cli/OutputSafety.h"
#include "cli/ReportOutput.h"

namespace kadrel::cli {
namespace {

struct AlignOptions {
    std::string file;
    std::string aligner = "pairhmm";
    std::string output;
};

// The built-in aligner's pair in the same layout; its header names Kadrel, not t_coffee.
std::optional<std::string> BuiltinClustal(const SequenceSet& set, const std::string& fileText, std::string& failure) {
    const SequenceRecord first = LoadRecord(set, 0), second = LoadRecord(set, 1);
    BuiltinAligner aligner;
    const AlignedPair pair = aligner.Align(first.text, second.text, "align", std::stop_token{});
    if (!pair.usable) {
        failure = pair.failure;
        return std::nullopt;
    }
    // The names t_coffee would print, where it would read the file; else the report's.
    const auto input = pairhmm::ReadPairInput(fileText);
    const bool edited = input.records.size() == 2;
    const std::string header = std::string("CLUSTAL FORMAT for Kadrel ") + KADREL_VERSION +
                               " [built-in aligner], CPU=0.00 sec, Nseq=2, Len=" +
                               std::to_string(pair.first.size()) + " ";
    return ClustalText(header, edited ? input.records[0].name : first.name, pair.first,
                       edited ? input.records[1].name : second.name, pair.second);
}

int RunAlign(const AlignOptions& options) {
    SequenceSet set;
    try {
        set = ReadSequenceSet(1, options.file, SetSource::MultipleSequenceFile);
        RequireRecords(set);
    } catch (const SetError& e) {
        return Fail(e.what());
    }
    const std::string file = QuotedPath(options.file);
    if (set.count != 2)
        return Fail(file + " holds " + std::to_string(set.count) + " record" + (set.count == 1 ? "" : "s") +
                    "; kadrel align aligns a file of exactly two");
    if (!options.output.empty() && SameFile(options.output, options.file))
        return Fail("the alignment would overwrite its own input " + file);
    std::string error;
    const auto text = ReadWholeFile(options.file, error);
    if (!text) return Fail("cannot read " + file + ": " + error);

    std::optional<std::string> clustal;
    std::string failure;
    bool viaTCoffee = options.aligner == "t_coffee";
    if (options.aligner == "pairhmm") {
        pairhmm::Engine engine;
        auto result = engine.Align(*text);
        if (result.offPath.empty()) {
            clustal = std::move(result.clustal);
        } else {
            if (!TCoffeeAligner().CheckAvailable().empty())
                return Fail(file + ": " + result.offPath +
                            "; such input needs the real t_coffee, which was not found on the search path (PATH)");
            std::cerr << "kadrel: " << file << ": " << result.offPath << "; aligned by t_coffee itself\n";
            viaTCoffee = true;
        }
    } else if (options.aligner == "builtin") {
        clustal = BuiltinClustal(set, *text, failure);
    }
    if (viaTCoffee) {
        TCoffeeAligner aligner;
        if (const auto message = aligner.CheckAvailable(); !message.empty()) return Fail(message);
        clustal = aligner.AlignText(*text, "align", std::stop_token{}, failure);
    }
    if (!clustal) return Fail("cannot align " + file + ": " + failure);

    ReportOutput out(options.output);
    if (!out.Failed()) out.Write(*clustal);
    out.Close();
    if (out.ReaderGone()) return 0;
    return out.Failed() ? Fail(out.Problem()) : 0;
}

}  // namespace

CommandRunner AddAlignCommand(CLI::App& app) {
    auto options = std::make_shared<AlignOptions>();
    CLI::App* command = app.add_subcommand(
        "align", "Write the CLUSTAL alignment of the two records of FILE, as the chosen aligner makes it");
    command->add_option("FILE", options->file, "A FASTA file of exactly two records")->required();
    command->add_option("-a,--aligner", options->aligner,
                        "pairhmm (t_coffee's method, in process), builtin, or t_coffee (the external program)")
        ->check(CLI::IsMember({"pairhmm", "builtin", "t_coffee"}))
        ->capture_default_str();
    command->add_option("-o,--output", options->output, "The alignment file (default: standard output)");
    return [options] {
        try {
            return RunAlign(*options);
        } catch (const std::exception& e) {
            return Fail(e.what());
        }
    };
}

}  // namespace kadrel::cli
