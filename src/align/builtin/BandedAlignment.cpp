#include "align/builtin/BandedAlignment.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "align/builtin/GapPlacement.h"
#include "align/builtin/Words.h"

namespace kadrel {
namespace {

constexpr int kWordWindow = 48;  // residues at either end whose words place the band
constexpr int kMargin = 8;       // diagonals at least on either side of those the words point to

int Size(const std::string& text) { return static_cast<int>(text.size()); }

// The middle of the diagonals words point to, unless it lies further than `reach` from where
// the pair's ends would put it (a word seen again by chance elsewhere): then that.
int Median(std::vector<int>& values, int otherwise, int reach) {
    if (values.empty()) return otherwise;
    std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
    const int middle = values[values.size() / 2];
    return std::abs(middle - otherwise) > reach ? otherwise : middle;
}

// The band that the gaps alone of any path leaving it make dearer than `most`, at least `band`.
Band ClearOf(Band band, int most, int n, int m) {
    const int end = m - n;
    const auto lowExit = [&](int low) { return (low < 0 ? 5 - 2 * low : 0) + 7 + 2 * (end - low + 1); };
    const auto highExit = [&](int high) { return (high > 0 ? 5 + 2 * high : 0) + 7 + 2 * (high + 1 - end); };
    while (band.low > -n && lowExit(band.low) <= most) --band.low;
    while (band.high < m && highExit(band.high) <= most) ++band.high;
    return band;
}

}  // namespace

long ColumnsCost(const std::string& columns, const std::string& first, const std::string& second) {
    long cost = 0;
    std::size_t i = 0, k = 0;
    char before = kBoth;
    for (const char column : columns) {
        if (column == kBoth) {
            cost += first[i++] == second[k++] ? 0 : 3;
        } else {
            cost += column == before ? 2 : 7;
            ++(column == kFirstOnly ? i : k);
        }
        before = column;
    }
    return cost;
}

// The diagonals the pair's first and last shared words lie on (a word's first occurrence in the
// second sequence for the start, its last for the end), with diagonal 0 and the end's diagonal,
// spread to fill the sweep's vectors.
BandedProgramme::Start BandedProgramme::FirstBand(const std::string& first, const std::string& second) {
    if (seen_.empty()) seen_.assign(kWords, Seen{});
    const std::uint32_t pair = ++pairCount_;
    EachWord(second, 0, Size(second), [&](int start, std::uint32_t w) {
        Seen& word = seen_[w];
        if (word.pair != pair) word = {pair, start, start};
        word.last = start;
    });
    const int n = Size(first), m = Size(second);
    std::vector<int> diagonals;
    EachWord(first, 0, kWordWindow, [&](int start, std::uint32_t w) {
        if (seen_[w].pair == pair) diagonals.push_back(seen_[w].first - start);
    });
    const int reach = std::max(n, m) / 8 + kMargin;
    const int startDiagonal = Median(diagonals, 0, reach);
    diagonals.clear();
    EachWord(first, n - kWordLength + 1 - kWordWindow, n - kWordLength + 1, [&](int start, std::uint32_t w) {
        if (seen_[w].pair == pair) diagonals.push_back(seen_[w].last - start);
    });
    const int endDiagonal = Median(diagonals, m - n, reach);
    // The share of the first's words found in the second is about (1 - d)^8 at divergence d:
    // the band is made wide enough at once for what the substitutions and the length difference
    // would cost, so that a divergent pair is swept once. (Only speed depends on it.)
    // The first's words at multiples of kWordLength tile it; a tile not found in the second
    // (or holding a residue that matches nothing) costs any alignment an edit among its residues.
    int words = 0, shared = 0;
    tileFound_.assign(static_cast<std::size_t>(n / kWordLength), 0);
    EachWord(first, 0, n, [&](int start, std::uint32_t w) {
        ++words;
        shared += seen_[w].pair == pair;
        if (start % kWordLength == 0 && seen_[w].pair == pair) tileFound_[static_cast<std::size_t>(start / kWordLength)] = 1;
    });
    unfoundFrom_.assign(static_cast<std::size_t>(n + 1), 0);
    for (int i = n - 1; i >= 0; --i) {
        const bool tileStarts = i % kWordLength == 0 && i / kWordLength < static_cast<int>(tileFound_.size());
        unfoundFrom_[i] = unfoundFrom_[i + 1] + (tileStarts && !tileFound_[static_cast<std::size_t>(i / kWordLength)]);
    }
    const double share = std::max(words == 0 ? 0.0 : static_cast<double>(shared) / words, 1e-3);
    const double divergence = 1 - std::pow(share, 1.0 / kWordLength);
    // 1.2 times that: on 90,000 pairs 2-20% apart it swept the fewest lanes in all (1.0 to 1.5
    // tried), a narrower first band failing its proof and being swept again too often; 1.15 and
    // 1.25 were no faster with the bound of each edge.
    const int expected = static_cast<int>(1.2 * 3 * divergence * std::min(n, m)) + 5 + 2 * std::abs(m - n);
    const int low = std::min({0, m - n, startDiagonal, endDiagonal}) - kMargin;
    const int high = std::max({0, m - n, startDiagonal, endDiagonal}) + kMargin;
    const int width = 2 * SweepLanes({low, high}) - 1;
    const int from = low - (width - (high - low + 1)) / 2;
    return {ClearOf({std::max(from, -n), std::min(from + width - 1, m)}, expected - Discount(), n, m), divergence};
}

BandedProgramme::Outcome BandedProgramme::Align(const std::string& first, const std::string& second,
                                                SimdPath path, double leaveBelow) {
    Outcome outcome;
    const int n = Size(first), m = Size(second);
    if (n == 0 || m == 0 || !SweepFits(first.size(), second.size())) return outcome;
    lowEdge_.resize(static_cast<std::size_t>(n + 1));
    highEdge_.resize(static_cast<std::size_t>(n + 1));
    auto [band, divergence] = FirstBand(first, second);
    if (divergence < leaveBelow) {
        outcome.close = true;
        return outcome;
    }
    for (int pass = 0; pass < 4; ++pass) {
        const int lanes = SweepLanes(band);
        // Beyond this many cells the full matrix costs less (short pairs always get the narrowest
        // band once: their whole matrix is small either way).
        if (lanes > SweepLanes({0, 0}) && 2.0 * lanes * (n + m + 1) > static_cast<double>(n) * m) return outcome;
        trace_.resize(SweepTraceSize(band, first.size(), second.size()));
        const int score = Sweep(path, first, second, band, trace_.data(), lowEdge_.data(), highEdge_.data(), scratch_);
        const Outside outside = BestOutside(band, n, m);
        if (std::max(outside.low, outside.high) < score) {
            outcome.columns = Traceback(band, n, m);
            outcome.band = band;
            return outcome;
        }
        // First the side that failed, by what it failed by; then the band the tiles should
        // prove, and if that fails the one the gaps alone prove.
        if (pass == 0)
            band = Widened(band, outside, score, n, m);
        else
            band = ClearOf(band, -score - (pass == 1 ? Discount() : 0), n, m);
        ++outcome.widenings;
    }
    return outcome;
}

// An alignment that leaves the band steps off an edge diagonal for the first time from a cell
// of row i that the best path inside the band reaches with lowEdge_/highEdge_ (the best over the
// gap states there). From there on it pays 3 per mismatch, 2 per gap site and 5 per gap opened,
// and every tile of the first's residues from i on that the second lacks holds an edit: a
// mismatch, a residue of the first against a gap, or a run of the second's residues inside it.
// Off the low edge: a site of the first alone (2), and a gap of the second opened outside that
// brings it back to the end's diagonal, as many sites as it is away (5 + 2 a). Both may fall into
// a missing tile; every further one costs 3 at least (a mismatch 3; a further first-only site 2,
// and 2 for the second-only site it has to be made up by; a further run 5).
// Off the high edge the step is a site of the second and the way back residues of the first: a
// run of a of them can fall into up to (a + 14) / 8 tiles, and a further run of first-only sites
// costs 5 and can fall into 2 tiles more, 2.5 a tile.
// Scores are negative costs; the bound must stay strictly below the band's best, so that no path
// outside can tie it either: then the full matrix traces the same path.
BandedProgramme::Outside BandedProgramme::BestOutside(Band band, int n, int m) const {
    const int end = m - n;
    const auto best = [&](const std::vector<std::int16_t>& edge, int away, int freeTiles, int halvesPerTile) {
        // Rows the edge does not reach hold kOutside and stay below it here: no test needed.
        int most = kOutside;
        for (int i = 0; i <= n; ++i) {
            const int tiles = std::max(0, unfoundFrom_[i] - freeTiles);
            most = std::max(most, edge[i] - 7 - 2 * away - ((halvesPerTile * tiles + 1) >> 1));
        }
        return most;
    };
    Outside outside;
    if (band.low > -n) outside.low = best(lowEdge_, end - band.low + 1, 2, 6);
    if (band.high < m) {
        const int away = band.high + 1 - end;
        outside.high = best(highEdge_, away, (away + 14) / 8 + 1, 5);
    }
    return outside;
}

// Each diagonal further out costs a path leaving there 2 more to come back and, mostly, 2 more to
// get out to: a side that failed by d is moved by about d / 4 diagonals, and the lanes the sweep
// rounds up to go to the sides that failed.
Band BandedProgramme::Widened(Band band, Outside outside, int score, int n, int m) const {
    const auto by = [&](int best) { return best < score ? 0 : (best - score) / 4 + 1 + kMargin; };
    const int lower = by(outside.low), higher = by(outside.high);
    Band wider{std::max(band.low - lower, -n), std::min(band.high + higher, m)};
    const int spare = 2 * SweepLanes(wider) - 1 - (wider.high - wider.low + 1);
    const int toLow = higher == 0 ? spare : lower == 0 ? 0 : spare / 2;
    wider.low = std::max(wider.low - toLow, -n);
    wider.high = std::min(wider.high + (spare - toLow), m);
    return wider;
}

// What the tiles a path misses will cost it at least, mostly: the band need not be that wide.
int BandedProgramme::Discount() const { return unfoundFrom_.empty() ? 0 : 2 * unfoundFrom_[0] * 9 / 10; }

// parasail's traceback: from (n, m), a column of both residues whenever the best score came that
// way, else the first sequence's gap before the second's; a gap runs on unless it opened here.
std::string BandedProgramme::Traceback(Band band, int n, int m) const {
    const int lanes = SweepLanes(band);
    std::string columns;
    columns.reserve(static_cast<std::size_t>(n + m));
    char state = kBoth;
    int i = n, j = m;
    while (i > 0 && j > 0) {
        const std::uint8_t choice = TraceChoice(trace_.data(), band, lanes, i, j);
        if (state == kBoth) {
            const char from = (choice & kFromFirstOnly) ? kFirstOnly : (choice & kFromSecondOnly) ? kSecondOnly : kBoth;
            if (from != kBoth) {
                state = from;
                continue;
            }
            columns += kBoth;
            --i;
            --j;
        } else if (state == kFirstOnly) {
            columns += kFirstOnly;
            if (choice & kFirstOnlyOpens) state = kBoth;
            --i;
        } else {
            columns += kSecondOnly;
            if (choice & kSecondOnlyOpens) state = kBoth;
            --j;
        }
    }
    columns.append(static_cast<std::size_t>(i), kFirstOnly);
    columns.append(static_cast<std::size_t>(j), kSecondOnly);
    std::reverse(columns.begin(), columns.end());
    return columns;
}

}  // namespace kadrel
