#include "align/pairhmm/Posteriors.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "align/pairhmm/DiagonalKernels.h"
#include "align/pairhmm/Model.h"

namespace kadrel::pairhmm {
namespace {

// The matrix is kept by anti-diagonals k = i + j, each holding residues i = First(k)..Last(k)
// between two sentinel cells, so that forward's match state can live there and be read by the
// next two diagonals as it would be from the rolling ones.
struct Geometry {
    int I, J;
    std::vector<std::size_t> offsets;  // where each anti-diagonal's first sentinel is

    Geometry(int lengthX, int lengthY) : I(lengthX), J(lengthY), offsets(static_cast<std::size_t>(I + J) + 2) {
        for (int k = 0; k <= I + J; ++k)
            offsets[static_cast<std::size_t>(k) + 1] =
                offsets[static_cast<std::size_t>(k)] + static_cast<std::size_t>(Count(k)) + 2;
    }
    int First(int k) const { return std::max(0, k - J); }
    int Last(int k) const { return std::min(I, k); }
    int Count(int k) const { return Last(k) - First(k) + 1; }
    // Where residue i of diagonal k is (i from First(k) - 1, a sentinel, to Last(k) + 1, another).
    std::size_t At(int k, int i) const {
        return offsets[static_cast<std::size_t>(k)] + static_cast<std::size_t>(i - First(k) + 1);
    }
};

// Three anti-diagonals of the three states, each indexed by i + 1 from i = -1 to I + 1, so that
// the neighbours just beyond a diagonal's ends can be read: they hold the sentinel.
struct Rolling {
    std::array<std::vector<float>, 3> m, ins, del;

    explicit Rolling(int I) {
        for (int s = 0; s < 3; ++s) {
            m[s].assign(static_cast<std::size_t>(I) + 3, kZero);
            ins[s].assign(static_cast<std::size_t>(I) + 3, kZero);
            del[s].assign(static_cast<std::size_t>(I) + 3, kZero);
        }
    }
    void Guard(int s, int first, int last) {
        for (auto* state : {&m[s], &ins[s], &del[s]}) {
            (*state)[static_cast<std::size_t>(first)] = kZero;
            (*state)[static_cast<std::size_t>(last) + 2] = kZero;
        }
    }
};

// The cells of the total probability that only the passes see, and the cells that may pass
// the posterior threshold, as backward found them.
struct Ends {
    float f1End = kZero, f2End = kZero;      // forward I and J at (I, J)
    float b1Start = kZero, b2Start = kZero;  // backward I at (1, 0) and J at (0, 1)
    float totalEnd = kZero;                  // the total from the end of the chain
    float loose = kZero;                     // the total backward's looking over assumed
    std::vector<std::pair<int, float>> near;  // cells near the threshold: place in their diagonal, sum
    std::vector<int> nearFrom;               // where each diagonal's cells start in `near`
};

// cx[i]: class of x_i for i = 1..I, 0 beyond; cy[J + 1 - j]: class of y_j (reversed, so that a
// diagonal's lanes read it in increasing order), 0 beyond.
void Forward(const Geometry& g, const std::vector<std::uint8_t>& cx, const std::vector<std::uint8_t>& cy,
             float* matrix, Ends& ends) {
    const Emissions& em = TheEmissions();
    Rolling r(g.I);
    const auto forward = ChosenKernels().forward;
    const auto m = [&](int k, int i) { return matrix + g.At(k, i); };
    for (int k = 0; k <= g.I + g.J; ++k) {
        const int s = k % 3, s1 = (k + 2) % 3, s2 = (k + 1) % 3;
        const int lo = g.First(k), n = g.Count(k);
        *m(k, lo - 1) = *m(k, g.Last(k) + 1) = kZero;
        // The first two diagonals are the start distribution's alone: it puts the first residues
        // in their own cells.
        if (k >= 2) {
            forward(n, m(k - 2, lo - 1), r.ins[s2].data() + lo, r.del[s2].data() + lo, m(k - 1, lo - 1),
                    r.ins[s1].data() + lo, m(k - 1, lo), r.del[s1].data() + lo + 1, cx.data() + lo,
                    cy.data() + (g.J + 1 - k + lo), m(k, lo), r.ins[s].data() + lo + 1, r.del[s].data() + lo + 1);
        }
        if (k == 0) *m(0, 0) = r.ins[s][1] = r.del[s][1] = kZero;
        if (k == 1) {
            *m(1, 0) = r.ins[s][1] = kZero;  // (0, 1)
            r.del[s][1] = kStartGap + em.single[cy[static_cast<std::size_t>(g.J)]];
            *m(1, 1) = r.del[s][2] = kZero;  // (1, 0)
            r.ins[s][2] = kStartGap + em.single[cx[1]];
        }
        if (k == 2) *m(2, 1) = kStartM + em.pair[cx[1] * 8u + cy[static_cast<std::size_t>(g.J)]];  // (1, 1)
        if (k == 2) r.ins[s][2] = r.del[s][2] = kZero;
        r.Guard(s, lo, g.Last(k));
    }
    const int s = (g.I + g.J) % 3;
    ends.f1End = r.ins[s][static_cast<std::size_t>(g.I) + 1];
    ends.f2End = r.del[s][static_cast<std::size_t>(g.I) + 1];
}

// Backward, adding its match state onto forward's in the matrix. Once the end's total is known
// (after the first diagonal), each diagonal's sums are looked over while they are at hand, as if
// the total were a unit lower: the mean with the start's total is rarely far from the end's.
void Backward(const Geometry& g, const std::vector<std::uint8_t>& cx, const std::vector<std::uint8_t>& cy,
              float* matrix, Ends& ends) {
    const Emissions& em = TheEmissions();
    Rolling r(g.I);
    const auto backward = ChosenKernels().backward;
    ends.nearFrom.assign(static_cast<std::size_t>(g.I + g.J) + 2, 0);
    for (int k = g.I + g.J; k >= 0; --k) {
        const int s = k % 3, s1 = (k + 1) % 3, s2 = (k + 2) % 3;
        const int lo = g.First(k), n = g.Count(k);
        float* sum = matrix + g.At(k, lo);
        if (k == g.I + g.J) {
            // The end distribution, with the last match emission counted on this side too.
            const float b0 = kStartM + em.pair[cx[static_cast<std::size_t>(g.I)] * 8u + cy[1]];
            r.m[s][static_cast<std::size_t>(g.I) + 1] = b0;
            r.ins[s][static_cast<std::size_t>(g.I) + 1] = kStartGap;
            r.del[s][static_cast<std::size_t>(g.I) + 1] = kStartGap;
            sum[0] = sum[0] + b0;
            ends.totalEnd = LogAdd(LogAdd(LogAdd(kZero, sum[0]), ends.f1End + kStartGap), ends.f2End + kStartGap);
            ends.loose = ends.totalEnd - 1.0f;
        } else {
            backward(n, r.m[s2].data() + lo + 2, r.ins[s1].data() + lo + 2, r.del[s1].data() + lo + 1,
                     cx.data() + lo + 1, cy.data() + (g.J - k + lo), r.m[s].data() + lo + 1,
                     r.ins[s].data() + lo + 1, r.del[s].data() + lo + 1, sum);
        }
        ends.nearFrom[static_cast<std::size_t>(k) + 1] = static_cast<int>(ends.near.size());
        for (int t = NextCandidate(sum, 0, n, ends.loose); t < n; t = NextCandidate(sum, t + 1, n, ends.loose))
            ends.near.emplace_back(t, sum[t]);
        if (k == 1) {
            ends.b1Start = r.ins[s][2];  // (1, 0)
            ends.b2Start = r.del[s][1];  // (0, 1)
        }
        r.Guard(s, lo, g.Last(k));
    }
}

// Cell t of diagonal k into the library if its posterior passes the threshold.
void Keep(const Geometry& g, int k, int t, float sum, float total, std::vector<LibraryCell>& cells) {
    const float s = sum - total;
    if (!(s > -16.0f)) return;
    const double v = ExpOfNonPositive(static_cast<double>(s <= 0.0f ? s : 0.0f));
    const int i = g.First(k) + t;
    if (v > static_cast<double>(0.01f)) cells.push_back({i, k - i, static_cast<int>(static_cast<float>(v) * 1000.0f)});
}

}  // namespace

std::vector<LibraryCell> MatchPosteriors(std::string_view xText, std::string_view yText, std::vector<float>& match) {
    const int I = static_cast<int>(xText.size());
    const int J = static_cast<int>(yText.size());
    std::vector<LibraryCell> cells;
    if (I == 0 || J == 0) return cells;
    const Emissions& em = TheEmissions();
    std::vector<std::uint8_t> cx(static_cast<std::size_t>(I) + 2, 0), cy(static_cast<std::size_t>(J) + 2, 0);
    for (int i = 1; i <= I; ++i) cx[static_cast<std::size_t>(i)] = em.classOf[static_cast<unsigned char>(xText[i - 1])];
    for (int j = 1; j <= J; ++j)
        cy[static_cast<std::size_t>(J + 1 - j)] = em.classOf[static_cast<unsigned char>(yText[j - 1])];
    const Geometry g(I, J);
    match.resize(g.offsets.back());
    Ends ends;
    Forward(g, cx, cy, match.data(), ends);
    Backward(g, cx, cy, match.data(), ends);

    // Both ends of the chain estimate the total; t_coffee takes their mean.
    const float f1Start = kStartGap + em.single[cx[1]];
    const float f2Start = kStartGap + em.single[cy[static_cast<std::size_t>(J)]];
    const float atStart = match[g.At(2, 1)];
    const float totalStart = LogAdd(LogAdd(atStart, f1Start + ends.b1Start), f2Start + ends.b2Start);
    const float total = (ends.totalEnd + totalStart) / 2.0f;

    // Backward's cells near the threshold hold every cell that passes it when the total lies half
    // a unit or more above the one backward assumed (the sums less either total are then more than
    // -16 alike, roundings included); otherwise every cell is looked at again.
    const bool near = total - ends.loose >= 0.5f;
    for (int k = 0; k <= I + J; ++k) {
        if (near) {
            const auto from = static_cast<std::size_t>(ends.nearFrom[static_cast<std::size_t>(k) + 1]);
            const auto to = k > 0 ? static_cast<std::size_t>(ends.nearFrom[static_cast<std::size_t>(k)]) : ends.near.size();
            for (std::size_t a = from; a < to; ++a) Keep(g, k, ends.near[a].first, ends.near[a].second, total, cells);
            continue;
        }
        const float* sums = match.data() + g.At(k, g.First(k));
        const int n = g.Count(k);
        for (int t = NextCandidate(sums, 0, n, total); t < n; t = NextCandidate(sums, t + 1, n, total))
            Keep(g, k, t, sums[t], total, cells);
    }
    return cells;
}

}  // namespace kadrel::pairhmm
