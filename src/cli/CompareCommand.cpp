#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "align/BuiltinAligner.h"
#include "align/TCoffeeAligner.h"
#include "calc/BackupWriter.h"
#include "calc/ReportHeader.h"
#include "calc/RunComparison.h"
#include "calc/SequenceSet.h"
#include "cli/Commands.h"
#include "cli/ModelOption.h"
#include "distances/NumberText.h"

namespace kadrel::cli {
namespace {
namespace fs = std::filesystem;

struct CompareOptions {
    std::string set1, set2;
    std::string model = "none";
    bool textbook = false;
    std::string output;
    std::string backup = "query.bak";
    bool noBackup = false;
    unsigned jobs = 0;  // 0: one per core
    std::string aligner = "t_coffee";
};

// Writes the report to its output and the backup, shows progress while stderr is a terminal.
class ConsoleSink : public ReportSink {
public:
    ConsoleSink(std::ostream& out, std::optional<BackupWriter> backup, std::stop_source stop)
        : out_(out), backup_(std::move(backup)), stop_(std::move(stop)),
          showProgress_(::isatty(STDERR_FILENO) == 1) {}

    void Append(std::string_view text) override {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (backup_) backup_->Append(text);
        if (!out_) stop_.request_stop();  // nobody reads the report any more (a closed pipe, a full disk)
    }
    void RecordFinished(std::size_t) override {
        out_.flush();
        if (backup_ && !backup_->Commit()) Warning(backup_->Error());
    }
    void Progress(std::size_t done, std::size_t total) override {
        if (!showProgress_) return;
        std::cerr << "\rkadrel: " << done << " of " << total << " pairs" << std::flush;
        progressShown_ = true;
    }
    void Warning(std::string_view message) override {
        ClearProgress();
        std::cerr << "kadrel: warning: " << message << "\n";
    }
    void ClearProgress() {
        if (progressShown_) std::cerr << "\r\033[K";
        progressShown_ = false;
    }

private:
    std::ostream& out_;
    std::optional<BackupWriter> backup_;
    std::stop_source stop_;
    bool showProgress_;
    bool progressShown_ = false;
};

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// Whether writing `file` would overwrite the set's file or one of its folder's records.
bool HoldsFile(const SequenceSet& set, const fs::path& file) {
    if (set.source == SetSource::MultipleSequenceFile) return SameFile(file, set.chosenFile);
    const auto name = file.filename().string();
    if (std::find(set.fileNames.begin(), set.fileNames.end(), name) == set.fileNames.end()) return false;
    const auto folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    return SameFile(folder, set.folderPath);
}

int Fail(const std::string& message) {
    std::cerr << "kadrel: " << message << "\n";
    return 2;
}

// Ctrl-C or a termination request stops the run cleanly: the aligner's process groups are
// killed and the report ends with the rows done. The signals are taken by one waiting thread.
// A closed output pipe makes writes fail instead of killing the process, so the run stops
// through the sink and the work folder still goes.
void StopOnSignals(std::stop_source stop) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigset_t blocked = signals;
    sigaddset(&blocked, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
    std::thread([signals, stop]() mutable {
        int received = 0;
        if (sigwait(&signals, &received) == 0) stop.request_stop();
    }).detach();
}

int RunCompare(const CompareOptions& options) {
    const DistanceModel model = *ParseModelName(options.model);
    SequenceSet set1, set2;
    try {
        set1 = ReadSequenceSet(1, options.set1);
        set2 = ReadSequenceSet(2, options.set2);
    } catch (const SetError& e) {
        return Fail(e.what());
    }
    const auto isSetFile = [&](const fs::path& file) { return HoldsFile(set1, file) || HoldsFile(set2, file); };
    if (!options.output.empty() && isSetFile(options.output))
        return Fail("the output \"" + options.output + "\" would overwrite a file of the sets; choose another file");
    if (!options.noBackup) {
        if (isSetFile(options.backup))
            return Fail("the backup \"" + options.backup + "\" would overwrite a file of the sets; choose another file");
        if (!options.output.empty() && SameFile(options.backup, options.output))
            return Fail("the backup and the output are the same file \"" + options.output +
                        "\"; choose another backup (--backup FILE) or --no-backup");
    }

    std::unique_ptr<Aligner> aligner;
    if (options.aligner == "builtin") aligner = std::make_unique<BuiltinAligner>();
    else aligner = std::make_unique<TCoffeeAligner>();
    if (const auto message = aligner->CheckAvailable(); !message.empty()) return Fail(message);

    std::ofstream file;
    if (!options.output.empty()) {
        file.open(options.output, std::ios::binary | std::ios::trunc);
        if (!file) return Fail("cannot write the output \"" + options.output + "\"");
    }
    std::ostream& out = options.output.empty() ? std::cout : file;

    for (const auto* set : {&set1, &set2}) {
        if (set->count != 0) continue;
        const auto& path = set->side == 1 ? options.set1 : options.set2;
        std::cerr << "kadrel: warning: set " << set->side << " \"" << path << "\" holds no records\n";
    }

    std::stop_source stop;
    StopOnSignals(stop);
    std::optional<BackupWriter> backup;
    if (!options.noBackup) backup.emplace(options.backup);
    ConsoleSink sink(out, std::move(backup), stop);

    RunOptions run;
    run.model = model;
    run.textbook = options.textbook;
    run.decimalSeparator = LocaleDecimalSeparator();
    run.bannerDate = LocaleShortDateTime();
    run.concurrentPairs = options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());

    const RunSummary summary = RunComparison(set1, set2, run, *aligner, sink, stop.get_token());
    out.flush();
    sink.ClearProgress();
    if (!out) return Fail("writing the output failed");

    std::cerr << "kadrel: " << summary.pairsCompared << " pairs compared, " << summary.pairsFailed
              << " failed" << (summary.stopped ? ", stopped" : "") << "\n";
    if (summary.stopped) return 130;
    return summary.pairsFailed == 0 ? 0 : 1;
}

}  // namespace

CommandRunner AddCompareCommand(CLI::App& app) {
    auto options = std::make_shared<CompareOptions>();
    CLI::App* command = app.add_subcommand(
        "compare", "Compare every record of SET1 with every record of SET2 and write the report");
    command->add_option("SET1", options->set1, "A folder (one record per file) or a multiple-sequence file")
        ->required();
    command->add_option("SET2", options->set2, "A folder or a multiple-sequence file")->required();
    AddModelOption(*command, options->model);
    AddTextbookOption(*command, options->textbook);
    command->add_option("-o,--output", options->output, "The report file (default: standard output)");
    auto* backup = command->add_option("--backup", options->backup,
                                       "The backup: the report so far, after every set-1 record")
                       ->capture_default_str();
    command->add_flag("--no-backup", options->noBackup, "Write no backup")->excludes(backup);
    command->add_option("-j,--jobs", options->jobs, "Pairs aligned at once (default: one per core)")
        ->check(CLI::Range(1u, 64u));
    command->add_option("-a,--aligner", options->aligner, "t_coffee (the external program) or builtin (in-process)")
        ->check(CLI::IsMember({"t_coffee", "builtin"}))
        ->capture_default_str();
    return [options] { return RunCompare(*options); };
}

}  // namespace kadrel::cli
