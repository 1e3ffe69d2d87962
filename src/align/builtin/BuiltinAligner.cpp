#include "align/builtin/BuiltinAligner.h"

#include <bindings/cpp/WFAligner.hpp>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "align/AlignerInput.h"
#include "align/builtin/BandedAlignment.h"
#include "align/builtin/FullMatrix.h"
#include "align/builtin/GapPlacement.h"
#include "align/builtin/Words.h"

namespace kadrel {
namespace {

constexpr int kMismatch = 3;
constexpr int kGapOpen = 5;    // a gap of n sites costs kGapOpen + n * kGapExtend
constexpr int kGapExtend = 2;
// For pairs the banded programme cannot take: the wavefront aligner's time grows with the square
// of the score, the full matrix's does not, and beyond about 13% divergence the second is faster.
// A pair whose 8-letter words are shared less than (1 - 0.13)^8 goes straight to it; the
// wavefront aligner gives up on the others past 16%, where the estimate was wrong.
constexpr double kLeastSharedWords = 0.33;
constexpr double kWavefrontDivergence = 0.16;
// Pairs closer than this by the banded programme's words go to the wavefront aligner: whole runs
// of barcodes 2% apart aligned 31,000 pairs a second with the band alone, 34,000 with this split.
constexpr double kWavefrontBelow = 0.03;
// Above this many cells the dynamic programme's trace table would take too much memory; the
// wavefront aligner then runs to the end in its low-memory mode.
constexpr double kMostCells = 64e6;

// What scoring compares: A, C, G, T in upper case, U as T; anything else becomes a character that
// matches nothing on the other side (and avoids the wavefront aligner's end markers).
std::string ScoringText(const std::string& residues, char other) {
    std::string text(residues);
    for (char& c : text) {
        char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper == 'U') upper = 'T';
        c = upper == 'A' || upper == 'C' || upper == 'G' || upper == 'T' ? upper : other;
    }
    return text;
}

int Size(const std::string& text) { return static_cast<int>(text.size()); }

AlignedPair Unusable(std::string why) {
    AlignedPair pair;
    pair.failure = std::move(why);
    return pair;
}

}  // namespace

// One thread's aligners, kept between pairs: building them costs more than a short alignment.
class BuiltinAligner::Engine {
public:
    explicit Engine(BuiltinAligner::Divergent divergent)
        : wavefront_(kMismatch, kGapOpen, kGapExtend, wfa::WFAligner::Alignment, wfa::WFAligner::MemoryHigh),
          divergent_(divergent) {
        wavefront_.setHeuristicNone();
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The columns of an optimal alignment of two non-empty scoring texts, see GapPlacement.h.
    // The banded programme takes every pair it can prove but the closest: from about 3% apart it
    // is faster than the wavefront aligner, whose time grows with the square of the score. What
    // it cannot take goes the way pairs went before it: too long for its 16-bit lanes, or a band
    // it cannot prove.
    std::string Columns(const std::string& first, const std::string& second) {
        bool close = false;
        if (divergent_ == BuiltinAligner::Divergent::Banded) {
            auto outcome = banded_.Align(first, second, FastestSimdPath(), kWavefrontBelow);
            if (!outcome.columns.empty()) return outcome.columns;
            close = outcome.close;
        }
        const double cells = static_cast<double>(first.size()) * static_cast<double>(second.size());
        if (cells > kMostCells) return LowMemoryColumns(first, second);
        const bool bandRefused =
            !close && divergent_ == BuiltinAligner::Divergent::Banded && SweepFits(first.size(), second.size());
        if (bandRefused || (!close && SharedWords(first, second) < kLeastSharedWords))
            return FullMatrixColumns(first, second);
        const auto longer = static_cast<double>(std::max(first.size(), second.size()));
        const auto ends = static_cast<double>(std::max(first.size(), second.size()) -
                                              std::min(first.size(), second.size()));
        // What substitutions at the limit and the gap of the length difference would cost.
        const double limit = kMismatch * kWavefrontDivergence * longer + kGapOpen + kGapExtend * ends;
        wavefront_.setMaxAlignmentScore(static_cast<int>(std::ceil(limit)));
        const auto status = wavefront_.alignEnd2End(first.data(), Size(first), second.data(), Size(second));
        if (status == wfa::WFAligner::StatusSuccessful) return FromWavefront(wavefront_.getAlignmentCigar());
        return FullMatrixColumns(first, second);
    }

private:
    // The share of the second text's words of A, C, G, T that occur in the first: about
    // (1 - d)^kWordLength at divergence d, whatever the gaps.
    double SharedWords(const std::string& first, const std::string& second) {
        words_.assign(words_.size(), 0);
        EachWord(first, 0, Size(first), [&](int, std::uint32_t w) { words_[w >> 6] |= std::uint64_t{1} << (w & 63); });
        std::size_t shared = 0, all = 0;
        EachWord(second, 0, Size(second), [&](int, std::uint32_t w) {
            ++all;
            shared += (words_[w >> 6] >> (w & 63)) & 1;
        });
        return all == 0 ? 0.0 : static_cast<double>(shared) / static_cast<double>(all);
    }

    static std::string FromWavefront(const std::string& cigar) {
        std::string columns(cigar);
        for (char& c : columns) c = c == 'X' ? kBoth : c == 'D' ? kFirstOnly : c == 'I' ? kSecondOnly : kBoth;
        return columns;
    }

    std::string FullMatrixColumns(const std::string& first, const std::string& second) {
        std::string columns = fullMatrix_.Columns(first, second);
        return columns.empty() ? LowMemoryColumns(first, second) : columns;
    }

    std::string LowMemoryColumns(const std::string& first, const std::string& second) {
        if (!lowMemory_)
            lowMemory_ = std::make_unique<wfa::WFAlignerGapAffine>(kMismatch, kGapOpen, kGapExtend,
                                                                   wfa::WFAligner::Alignment,
                                                                   wfa::WFAligner::MemoryUltralow);
        lowMemory_->setHeuristicNone();
        const auto status = lowMemory_->alignEnd2End(first.data(), Size(first), second.data(), Size(second));
        return status == wfa::WFAligner::StatusSuccessful ? FromWavefront(lowMemory_->getAlignmentCigar()) : "";
    }

    wfa::WFAlignerGapAffine wavefront_;
    std::unique_ptr<wfa::WFAlignerGapAffine> lowMemory_;
    BuiltinAligner::Divergent divergent_;
    BandedProgramme banded_;
    FullMatrixProgramme fullMatrix_;
    std::vector<std::uint64_t> words_ = std::vector<std::uint64_t>(kWords / 64);
};

BuiltinAligner::BuiltinAligner(Divergent divergent) : divergent_(divergent) {}
BuiltinAligner::~BuiltinAligner() = default;

std::unique_ptr<BuiltinAligner::Engine> BuiltinAligner::Borrow() {
    {
        const std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto engine = std::move(idle_.back());
            idle_.pop_back();
            return engine;
        }
    }
    return std::make_unique<Engine>(divergent_);
}

void BuiltinAligner::GiveBack(std::unique_ptr<Engine> engine) {
    const std::lock_guard lock(mutex_);
    idle_.push_back(std::move(engine));
}

AlignedPair BuiltinAligner::Align(std::string_view firstRecord, std::string_view secondRecord, std::string_view,
                                  std::stop_token stop) {
    if (stop.stop_requested()) return Unusable("stopped");
    const std::string first = SequenceResidues(firstRecord);
    const std::string second = SequenceResidues(secondRecord);
    if (first.empty()) return Unusable("the first sequence is empty");
    if (second.empty()) return Unusable("the second sequence is empty");

    const std::string firstScoring = ScoringText(first, '1');
    const std::string secondScoring = ScoringText(second, '2');
    auto engine = Borrow();
    std::string columns = engine->Columns(firstScoring, secondScoring);
    GiveBack(std::move(engine));
    if (!ColumnsFit(columns, first.size(), second.size())) return Unusable("the built-in aligner found no alignment");

    PlaceTerminalGaps(columns, firstScoring, secondScoring);
    AlignedPair pair = AlignedTexts(columns, first, second);
    pair.firstLabel = "s1";
    pair.secondLabel = "s2";
    pair.length = static_cast<double>(columns.size());
    pair.usable = true;
    return pair;
}

}  // namespace kadrel
