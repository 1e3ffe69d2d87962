// t_coffee's method in process on barcode-sized pairs: the engine alone (FASTA text in, CLUSTAL
// text out), and the aligner as a run uses it, through the CLUSTAL text and its reader, to show
// what the text round trip costs.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "align/pairhmm/PairHmmAligner.h"
#include "align/pairhmm/TCoffeeMethod.h"

namespace {

// A seeded pair of `length` bases about 10 % apart, with a few short indels.
std::pair<std::string, std::string> Barcodes(std::size_t length) {
    std::mt19937 random(static_cast<unsigned>(length));
    std::string a, b;
    for (std::size_t i = 0; i < length; ++i) a += "ACGT"[random() % 4];
    for (const char c : a) {
        const unsigned roll = random() % 1000;
        if (roll < 5) continue;                            // deletion
        if (roll < 10) b += "ACGT"[random() % 4];          // insertion
        b += roll < 110 ? "ACGT"[random() % 4] : c;
    }
    return {">s1\n" + a + "\n", ">s2\n" + b + "\n"};
}

void BM_Engine(benchmark::State& state) {
    const auto [a, b] = Barcodes(static_cast<std::size_t>(state.range(0)));
    kadrel::pairhmm::Engine engine;
    for (auto _ : state) benchmark::DoNotOptimize(engine.Align(a + b));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Engine)->Arg(650)->Arg(1500)->Unit(benchmark::kMillisecond);

void BM_AlignerThroughText(benchmark::State& state) {
    const auto [a, b] = Barcodes(static_cast<std::size_t>(state.range(0)));
    kadrel::PairHmmAligner aligner;
    for (auto _ : state) benchmark::DoNotOptimize(aligner.Align(a, b, "0_0", {}));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AlignerThroughText)->Arg(650)->Unit(benchmark::kMillisecond);

}  // namespace
