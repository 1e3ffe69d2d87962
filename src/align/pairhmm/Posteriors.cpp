#include "align/pairhmm/Posteriors.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "align/pairhmm/DiagonalKernels.h"
#include "align/pairhmm/Model.h"

namespace kadrel::pairhmm {
namespace {

// The matrix is kept by anti-diagonals k = i + j, each holding residues i = First(k)..Last(k).
struct Geometry {
    int I, J;
    std::vector<std::size_t> offsets;  // where each anti-diagonal starts in the matrix

    Geometry(int lengthX, int lengthY) : I(lengthX), J(lengthY), offsets(static_cast<std::size_t>(I + J) + 2) {
        for (int k = 0; k <= I + J; ++k)
            offsets[static_cast<std::size_t>(k) + 1] = offsets[static_cast<std::size_t>(k)] + static_cast<std::size_t>(Count(k));
    }
    int First(int k) const { return std::max(0, k - J); }
    int Last(int k) const { return std::min(I, k); }
    int Count(int k) const { return Last(k) - First(k) + 1; }
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

// The cells of the total probability that only the passes see.
struct Ends {
    float f1End = kZero, f2End = kZero;      // forward I and J at (I, J)
    float b1Start = kZero, b2Start = kZero;  // backward I at (1, 0) and J at (0, 1)
};

// cx[i]: class of x_i for i = 1..I, 0 beyond; cy[J + 1 - j]: class of y_j (reversed, so that a
// diagonal's lanes read it in increasing order), 0 beyond.
void Forward(const Geometry& g, const std::vector<std::uint8_t>& cx, const std::vector<std::uint8_t>& cy,
             float* matrix, Ends& ends) {
    const Emissions& em = TheEmissions();
    Rolling r(g.I);
    const auto forward = ChosenKernels().forward;
    for (int k = 0; k <= g.I + g.J; ++k) {
        const int s = k % 3, s1 = (k + 2) % 3, s2 = (k + 1) % 3;
        const int lo = g.First(k), n = g.Count(k);
        forward(n, r.m[s2].data() + lo, r.ins[s2].data() + lo, r.del[s2].data() + lo, r.m[s1].data() + lo,
                        r.ins[s1].data() + lo, r.m[s1].data() + lo + 1, r.del[s1].data() + lo + 1, cx.data() + lo,
                        cy.data() + (g.J + 1 - k + lo), r.m[s].data() + lo + 1, r.ins[s].data() + lo + 1,
                        r.del[s].data() + lo + 1);
        // The seeds: the start distribution puts the first residues in their own cells.
        if (k == 0) r.m[s][1] = r.ins[s][1] = r.del[s][1] = kZero;
        if (k == 1) {
            r.m[s][1] = r.ins[s][1] = kZero;  // (0, 1)
            r.del[s][1] = kStartGap + em.single[cy[static_cast<std::size_t>(g.J)]];
            r.m[s][2] = r.del[s][2] = kZero;  // (1, 0)
            r.ins[s][2] = kStartGap + em.single[cx[1]];
        }
        if (k == 2) {  // (1, 1)
            r.m[s][2] = kStartM + em.pair[cx[1] * 8u + cy[static_cast<std::size_t>(g.J)]];
            r.ins[s][2] = r.del[s][2] = kZero;
        }
        std::copy_n(r.m[s].data() + lo + 1, n, matrix + g.offsets[static_cast<std::size_t>(k)]);
        r.Guard(s, lo, g.Last(k));
    }
    const int s = (g.I + g.J) % 3;
    ends.f1End = r.ins[s][static_cast<std::size_t>(g.I) + 1];
    ends.f2End = r.del[s][static_cast<std::size_t>(g.I) + 1];
}

// Backward, adding its match state onto forward's in the matrix.
void Backward(const Geometry& g, const std::vector<std::uint8_t>& cx, const std::vector<std::uint8_t>& cy,
              float* matrix, Ends& ends) {
    const Emissions& em = TheEmissions();
    Rolling r(g.I);
    const auto backward = ChosenKernels().backward;
    for (int k = g.I + g.J; k >= 0; --k) {
        const int s = k % 3, s1 = (k + 1) % 3, s2 = (k + 2) % 3;
        const int lo = g.First(k), n = g.Count(k);
        float* sum = matrix + g.offsets[static_cast<std::size_t>(k)];
        if (k == g.I + g.J) {
            // The end distribution, with the last match emission counted on this side too.
            const float b0 = kStartM + em.pair[cx[static_cast<std::size_t>(g.I)] * 8u + cy[1]];
            r.m[s][static_cast<std::size_t>(g.I) + 1] = b0;
            r.ins[s][static_cast<std::size_t>(g.I) + 1] = kStartGap;
            r.del[s][static_cast<std::size_t>(g.I) + 1] = kStartGap;
            sum[0] = sum[0] + b0;
        } else {
            backward(n, r.m[s2].data() + lo + 2, r.ins[s1].data() + lo + 2, r.del[s1].data() + lo + 1,
                             cx.data() + lo + 1, cy.data() + (g.J - k + lo), r.m[s].data() + lo + 1,
                             r.ins[s].data() + lo + 1, r.del[s].data() + lo + 1, sum);
        }
        if (k == 1) {
            ends.b1Start = r.ins[s][2];  // (1, 0)
            ends.b2Start = r.del[s][1];  // (0, 1)
        }
        r.Guard(s, lo, g.Last(k));
    }
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
    const float atEnd = match[g.offsets[static_cast<std::size_t>(I + J)]];
    const float totalEnd = LogAdd(LogAdd(LogAdd(kZero, atEnd), ends.f1End + kStartGap), ends.f2End + kStartGap);
    const float f1Start = kStartGap + em.single[cx[1]];
    const float f2Start = kStartGap + em.single[cy[static_cast<std::size_t>(J)]];
    const float atStart = match[g.offsets[2] + static_cast<std::size_t>(1 - g.First(2))];
    const float totalStart = LogAdd(LogAdd(atStart, f1Start + ends.b1Start), f2Start + ends.b2Start);
    const float total = (totalEnd + totalStart) / 2.0f;

    const double threshold = static_cast<double>(0.01f);
    for (int k = 0; k <= I + J; ++k) {
        const float* sums = match.data() + g.offsets[static_cast<std::size_t>(k)];
        const int n = g.Count(k);
        for (int t = NextCandidate(sums, 0, n, total); t < n; t = NextCandidate(sums, t + 1, n, total)) {
            const float s = sums[t] - total;
            const double v = ExpOfNonPositive(static_cast<double>(s <= 0.0f ? s : 0.0f));
            const int i = g.First(k) + t;
            if (v > threshold) cells.push_back({i, k - i, static_cast<int>(static_cast<float>(v) * 1000.0f)});
        }
    }
    return cells;
}

}  // namespace kadrel::pairhmm
