// Does placing the built-in aligner's terminal gaps as t_coffee places them (the edge residues in
// the outermost columns, anchored to the other side's edge residues) make its rows agree more
// often with t_coffee's? For each kind of marker, generated pairs are aligned by t_coffee's own
// method in process (the pairhmm aligner, which writes what t_coffee writes) and by the full-matrix
// programme, with its ends as the programme leaves them and as the end rule moves them; the table
// gives the share of pairs whose p-distance (three decimals) equals t_coffee's.
//
// Usage: terminal_gaps_bench [pairs per kind, default 200]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "align/builtin/FullMatrix.h"
#include "align/builtin/GapPlacement.h"
#include "align/pairhmm/PairHmmAligner.h"
#include "distances/PairDistances.h"
#include "sites/CompareSites.h"

using namespace kadrel;

namespace {

enum class Kind { Barcode, RaggedEnds, LongIndel, Repeats };

struct Maker {
    std::mt19937_64 random;
    int Below(int n) { return static_cast<int>(random() % static_cast<std::uint64_t>(n)); }
    double Uniform() { return std::uniform_real_distribution<double>(0, 1)(random); }
    std::string Bases(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            const double u = Uniform();
            s += u < 0.28 ? 'A' : u < 0.44 ? 'C' : u < 0.61 ? 'G' : 'T';
        }
        return s;
    }
    std::string Mutated(std::string s, double divergence) {
        static const std::string transition = "GTCA", transversions[] = {"CT", "AG", "CT", "AG"};
        for (char& c : s) {
            const int code = static_cast<int>(std::string("ACGT").find(c));
            if (Uniform() < divergence) c = Uniform() < 0.7 ? transition[code] : transversions[code][Below(2)];
        }
        return s;
    }
    std::string Cut(const std::string& s, int most) {
        const int front = Below(most + 1), back = Below(most + 1);
        return s.substr(front, s.size() - front - back);
    }
    std::pair<std::string, std::string> Pair(Kind kind) {
        std::string ancestor = Bases(650);
        if (kind == Kind::Repeats) {
            const std::string unit = std::vector<std::string>{"AT", "TTA", "GATA", "CA"}[Below(4)];
            std::string a = ancestor, b = ancestor;
            std::string runA, runB;
            const int copies = 6 + Below(10);
            for (int k = 0; k < copies; ++k) runA += unit;
            for (int k = 0; k < copies + 1 + Below(3); ++k) runB += unit;
            a.insert(300, runA);
            b.insert(300, runB);
            return {Mutated(a, 0.03), Mutated(b, 0.03)};
        }
        std::string a = Mutated(ancestor, 0.05), b = Mutated(ancestor, 0.05);
        if (kind == Kind::LongIndel) {
            const int size = 10 + Below(50), at = 50 + Below(500);
            (Uniform() < 0.5 ? a : b).erase(at, size);
        }
        if (kind == Kind::RaggedEnds) return {Cut(a, 40), Cut(b, 40)};
        if (kind == Kind::Barcode && Uniform() < 0.3) return {Cut(a, 11), Cut(b, 11)};
        return {a, b};
    }
};

Value PDistance(const AlignedPair& pair) {
    if (!pair.usable) return std::nullopt;
    return DerivePairDistances(CompareSites(pair), pair.length).pDistance;
}

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 200;
    PairHmmAligner tcoffee;
    FullMatrixProgramme programme;
    std::printf("| marker kind | pairs | same p as t_coffee, ends as the programme leaves them | same p, ends as t_coffee places them |\n");
    std::printf("|---|---|---|---|\n");
    const std::pair<Kind, const char*> kinds[] = {{Kind::Barcode, "barcodes 10% apart"},
                                                  {Kind::RaggedEnds, "ragged ends (up to 40 bases)"},
                                                  {Kind::LongIndel, "a long indel (10-59 bases)"},
                                                  {Kind::Repeats, "tandem repeats of unequal copy number"}};
    for (const auto& [kind, name] : kinds) {
        Maker maker{std::mt19937_64(static_cast<std::uint64_t>(kind) + 7)};
        int sameRaw = 0, samePlaced = 0;
        for (int k = 0; k < pairs; ++k) {
            const auto [a, b] = maker.Pair(kind);
            const Value reference = PDistance(tcoffee.Align(">a\n" + a + "\n", ">b\n" + b + "\n", "0_0", {}));
            std::string columns = programme.Columns(a, b);
            AlignedPair raw = AlignedTexts(columns, a, b);
            raw.length = static_cast<double>(columns.size());
            raw.usable = true;
            PlaceTerminalGaps(columns, a, b);
            AlignedPair placed = AlignedTexts(columns, a, b);
            placed.length = static_cast<double>(columns.size());
            placed.usable = true;
            sameRaw += PDistance(raw) == reference;
            samePlaced += PDistance(placed) == reference;
        }
        std::printf("| %s | %d | %.1f%% | %.1f%% |\n", name, pairs, 100.0 * sameRaw / pairs, 100.0 * samePlaced / pairs);
    }
    return 0;
}
