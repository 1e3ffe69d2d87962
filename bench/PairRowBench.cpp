// The computing core per pair: site pass, shares and model distance of a barcode-sized alignment.
// With an external aligner this is noise; it matters once pairs are aligned in process.
#include <benchmark/benchmark.h>

#include <random>

#include "distances/PairRow.h"

namespace {

kadrel::AlignedPair BarcodePair(std::size_t sites) {
    std::mt19937 random(42);
    kadrel::AlignedPair pair;
    for (std::size_t i = 0; i < sites; ++i) {
        const char base = "ACGT"[random() % 4];
        pair.first += base;
        const unsigned roll = random() % 100;
        pair.second += roll < 8 ? "ACGT"[random() % 4] : roll < 9 ? '-' : roll < 10 ? 'R' : base;
    }
    pair.length = static_cast<double>(sites);
    pair.usable = true;
    return pair;
}

void BM_PairRow(benchmark::State& state) {
    const auto model = static_cast<kadrel::DistanceModel>(state.range(1));
    const kadrel::AlignedPair pair = BarcodePair(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(kadrel::ComputePairRow(pair, model));
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PairRow)->Args({700, 0})->Args({700, 2})->Args({700, 5})->Args({700, 6})->Args({3000, 2});

}  // namespace
