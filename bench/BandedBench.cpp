// The banded programme against the full-matrix one it replaces, in one run, on generated
// barcode pairs of 650 bases (AT-rich, transition-biased substitutions, up to two short indels,
// ragged ends on some): the built-in aligner's pairs per second each way by divergence, how
// often a row changes, and a 10,000-pair sweep (2-25% apart) that checks every banded score
// against the full matrix's and times each instruction set. Pairs per second are per second of
// processor time of the one thread.
//
// Usage: banded_bench [pairs per class, default 2000] [sweep pairs, default 10000]
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "align/builtin/BandedAlignment.h"
#include "align/builtin/BuiltinAligner.h"
#include "align/builtin/FullMatrix.h"
#include "align/builtin/GapPlacement.h"

using namespace kadrel;

namespace {

struct Generator {
    std::mt19937_64 random;
    double Uniform() { return std::uniform_real_distribution<double>(0, 1)(random); }
    int Below(int n) { return static_cast<int>(random() % static_cast<std::uint64_t>(n)); }
    char Base() {
        const double u = Uniform();
        return u < 0.28 ? 'A' : u < 0.44 ? 'C' : u < 0.61 ? 'G' : 'T';
    }
    std::string Bases(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += Base();
        return s;
    }
    std::string Descendant(const std::string& ancestor, double divergence) {
        static const std::string transition = "GTCA", transversions[] = {"CT", "AG", "CT", "AG"};
        std::string s;
        for (char c : ancestor) {
            const int code = static_cast<int>(std::string("ACGT").find(c));
            if (Uniform() < divergence) c = Uniform() < 0.7 ? transition[code] : transversions[code][Below(2)];
            s += c;
        }
        const int indels = std::vector<int>{0, 0, 1, 1, 2}[Below(5)];
        for (int k = 0; k < indels; ++k) {
            const int at = 20 + Below(static_cast<int>(s.size()) - 40);
            const int size = std::vector<int>{1, 1, 2, 3, 3}[Below(5)];
            if (Uniform() < 0.5) s.erase(at, size); else s.insert(at, Bases(size));
        }
        if (Uniform() < 0.3) {
            const int front = Below(12), back = Below(12);
            s = s.substr(front, s.size() - front - back);
        }
        return s;
    }
    // Two records of one ancestor, each `divergence` / 2 from it, or when `divergence` is 0 each
    // 1-10% from it, as in builtin_vs_tcoffee.py's 1,000 x 1,000 case.
    std::pair<std::string, std::string> Pair(double divergence) {
        const std::string ancestor = Bases(650);
        const double first = divergence > 0 ? divergence / 2 : 0.01 + 0.09 * Uniform();
        const double second = divergence > 0 ? divergence / 2 : 0.01 + 0.09 * Uniform();
        return {Descendant(ancestor, first), Descendant(ancestor, second)};
    }
};

// Processor time of this thread: the machine is shared, and wall time would count the others.
double Now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

}  // namespace

int main(int argc, char** argv) {
    const int perClass = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int sweep = argc > 2 ? std::atoi(argv[2]) : 10000;
    std::printf("SIMD path taken on this machine: %s (widest it has: %s)\n\n", SimdPathName(FastestSimdPath()),
                SimdPathName(WidestSimdPath()));

    // "Before" is the aligner as it was before the band took close pairs too: the wavefront
    // aligner for those, the full matrix for divergent ones.
    std::printf("| divergence | pairs | builtin pairs/s, wavefront or full matrix | builtin pairs/s, banded | speed-up | "
                "rows changed |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const double divergence : {0.02, 0.05, 0.10, 0.15, 0.20, 0.25, 0.0}) {
        Generator generator{std::mt19937_64(static_cast<std::uint64_t>(divergence * 1000))};
        std::vector<std::pair<std::string, std::string>> pairs;
        for (int k = 0; k < perClass; ++k) pairs.push_back(generator.Pair(divergence));
        // Pair by pair, one way then the other, so that what else runs on the machine weighs on
        // both alike.
        BuiltinAligner before(BuiltinAligner::Divergent::FullMatrix), after;
        double fullTime = 0, bandedTime = 0;
        int changed = 0;
        for (int k = 0; k < perClass; ++k) {
            const auto& [a, b] = pairs[k];
            AlignedPair old, now;
            // The second of two runs on one pair finds its data in the cache: each goes second
            // every other pair.
            for (const bool fullFirst : {k % 2 == 0, k % 2 != 0}) {
                const double start = Now();
                if (fullFirst) old = before.Align(a, b, "0_0", {}); else now = after.Align(a, b, "0_0", {});
                (fullFirst ? fullTime : bandedTime) += Now() - start;
            }
            changed += now.first != old.first || now.second != old.second;
        }
        const double fullRate = perClass / fullTime, bandedRate = perClass / bandedTime;
        const std::string label = divergence > 0 ? std::to_string(static_cast<int>(divergence * 100 + 0.5)) + "%"
                                                 : "2-20% (the large case's mix)";
        std::printf("| %s | %d | %.0f | %.0f | %.2f | %d |\n", label.c_str(), perClass, fullRate, bandedRate,
                    bandedRate / fullRate, changed);
    }

    Generator generator{std::mt19937_64(2025)};
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int k = 0; k < sweep; ++k) pairs.push_back(generator.Pair(0.02 + 0.23 * generator.Uniform()));
    std::printf("\nSweep of %d pairs 2-25%% apart, the programmes alone, pair by pair in turn:\n\n",
                sweep);
    std::printf("| SIMD path | full matrix pairs/s | banded pairs/s | speed-up | proven | left to the full matrix "
                "| widened | same score | same columns |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    FullMatrixProgramme full;
    bool allSame = true;
    for (const SimdPath path : {SimdPath::Plain, SimdPath::Avx2, SimdPath::Avx512}) {
        if (path > WidestSimdPath()) continue;
        BandedProgramme banded;
        int proven = 0, widened = 0, sameScore = 0, sameColumns = 0;
        double fullTime = 0, bandedTime = 0;
        for (int k = 0; k < sweep; ++k) {
            const auto& [a, b] = pairs[k];
            std::string expected;
            BandedProgramme::Outcome o;
            for (const bool fullFirst : {k % 2 == 0, k % 2 != 0}) {
                const double start = Now();
                if (fullFirst) expected = full.Columns(a, b); else o = banded.Align(a, b, path);
                (fullFirst ? fullTime : bandedTime) += Now() - start;
            }
            if (o.columns.empty()) continue;
            ++proven;
            widened += o.widenings > 0;
            sameScore += ColumnsFit(o.columns, a.size(), b.size()) &&
                         ColumnsCost(o.columns, a, b) == ColumnsCost(expected, a, b);
            sameColumns += o.columns == expected;
        }
        allSame = allSame && sameScore == proven;
        std::printf("| %s | %.0f | %.0f | %.2f | %d | %d | %d | %d | %d |\n", SimdPathName(path), sweep / fullTime,
                    sweep / bandedTime, fullTime / bandedTime, proven, sweep - proven, widened, sameScore,
                    sameColumns);
    }
    std::printf("\nEvery proven banded score equals the full matrix's: %s\n", allSame ? "yes" : "NO");
    return allSame ? 0 : 1;
}
