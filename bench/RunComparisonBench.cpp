// The run driver without t_coffee: an in-process aligner hands back the two sequences as they
// are, so what is measured is the driver, the record loading, the rows and the best matches.
// peak_rss_MB is the process's peak resident size after the run; run one size per process
// (--benchmark_filter) to read it for that size.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "align/Aligner.h"
#include "align/AlignerInput.h"
#include "calc/RunComparison.h"

namespace {

namespace fs = std::filesystem;
using namespace kadrel;

class InstantAligner : public Aligner {
public:
    AlignedPair Align(std::string_view first, std::string_view second, std::string_view, std::stop_token) override {
        AlignedPair pair;
        pair.first = Joined(SequenceLines(first));
        pair.second = Joined(SequenceLines(second));
        pair.length = static_cast<double>(pair.first.size());
        pair.usable = pair.first.size() == pair.second.size();
        return pair;
    }

private:
    // The sequence lines without their line ends, a line at a time (find_first_of would look
    // each character up in the set of line ends, which costs more than the run being measured).
    static std::string Joined(std::string_view lines) {
        std::string text;
        text.reserve(lines.size());
        while (!lines.empty()) {
            const auto end = std::min({lines.find('\n'), lines.find('\r'), lines.size()});
            text.append(lines.substr(0, end));
            lines.remove_prefix(std::min(end + 1, lines.size()));
        }
        return text;
    }
};

class CountingSink : public ReportSink {
public:
    void Append(std::string_view text) override { bytes += text.size(); }
    void RecordFinished(std::size_t) override {}
    void Progress(std::size_t, std::size_t) override {}
    void Warning(std::string_view) override {}
    std::size_t bytes = 0;
};

// A folder of `count1` barcodes and a file of `count2`, 650 bases each, a few changes apart.
struct BenchSets {
    BenchSets(std::size_t count1, std::size_t count2) {
        std::string pattern = (fs::temp_directory_path() / "kadrel-bench-XXXXXX").string();
        root = mkdtemp(pattern.data());
        std::mt19937 random(7);
        const char bases[] = "ACGT";
        std::string base(650, 'A');
        for (auto& c : base) c = bases[random() % 4];
        const auto variant = [&] {
            std::string s = base;
            for (int m = 0; m < 30; ++m) s[random() % s.size()] = bases[random() % 4];
            return s;
        };
        fs::create_directory(root / "set1");
        for (std::size_t i = 0; i < count1; ++i) {
            std::string name = std::to_string(i);
            name.insert(0, 1, 'q');
            name += ".fas";
            std::ofstream(root / "set1" / name) << ">q\n" << variant() << "\n";
        }
        std::ofstream file(root / "set2.fas");
        for (std::size_t k = 0; k < count2; ++k) file << ">r" << k << "\n" << variant() << "\n";
    }
    ~BenchSets() { fs::remove_all(root); }
    fs::path root;
};

// User and system time of every thread of the process: on a busy machine the wall time says
// little, the time spent per pair still does.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_RunComparison(benchmark::State& state) {
    const auto count1 = static_cast<std::size_t>(state.range(0));
    const auto count2 = static_cast<std::size_t>(state.range(1));
    const BenchSets sets(count1, count2);
    InstantAligner aligner;
    RunOptions options;
    options.model = DistanceModel::K2P;
    options.concurrentPairs = static_cast<unsigned>(state.range(2));
    std::size_t bytes = 0;
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : state) {
        CountingSink sink;
        const auto summary = RunComparison(ReadSequenceSet(1, sets.root / "set1"),
                                           ReadSequenceSet(2, sets.root / "set2.fas"), options, aligner, sink, {});
        benchmark::DoNotOptimize(summary);
        bytes = sink.bytes;
    }
    const double pairs = static_cast<double>(state.iterations() * count1 * count2);
    state.counters["cpu_us_per_pair"] = (ProcessCpuSeconds() - cpuBefore) * 1e6 / pairs;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count1 * count2));
    state.counters["report_kB"] = static_cast<double>(bytes) / 1024;
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

// Arguments: set-1 records, set-2 records, pairs at once.
BENCHMARK(BM_RunComparison)
    ->Args({100, 100, 1})
    ->Args({100, 100, 2})
    ->Args({100, 100, 4})
    ->Args({100, 400, 1})
    ->Args({400, 100, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
