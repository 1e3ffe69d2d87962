#include "align/pairhmm/Posteriors.h"

#include <cstddef>
#include <utility>

#include "align/pairhmm/Model.h"

namespace kadrel::pairhmm {
namespace {

struct Residues {
    const unsigned char* data;
    unsigned char operator()(int position) const { return data[position - 1]; }
};

// The three cells of the total probability that the end and start states give, kept while the
// passes run because only the match state survives them whole.
struct Ends {
    float f1End = kZero, f2End = kZero;    // forward I and J at (I, J)
    float b1End = kZero, b2End = kZero;    // backward I and J at (I, J)
    float b1Start = kZero, b2Start = kZero;  // backward I at (1, 0) and J at (0, 1)
};

// Fills `match` (row-major, (I+1) x (J+1)) with forward's match state.
void Forward(Residues x, int I, Residues y, int J, std::vector<float>& match, Ends& ends) {
    const Emissions& em = TheEmissions();
    const std::size_t width = static_cast<std::size_t>(J) + 1;
    std::vector<float> insPrev(width, kZero), insCur(width, kZero), delPrev(width, kZero), delCur(width, kZero);
    for (int i = 0; i <= I; ++i) {
        float* row = match.data() + static_cast<std::size_t>(i) * width;
        const float* up = i > 0 ? row - width : nullptr;
        const float gx = i > 0 ? em.single[x(i)] : 0.0f;
        for (int j = 0; j <= J; ++j) {
            float ins = kZero, del = kZero;
            if (i <= 1 && j <= 1) {
                // The seeds: the start distribution puts the first residues in their own cells.
                if (i == 1 && j == 1) row[j] = kStartM + em.pair[x(1)][y(1)];
                if (i == 1 && j == 0) ins = kStartGap + em.single[x(1)];
                if (i == 0 && j == 1) del = kStartGap + em.single[y(1)];
            } else {
                if (i >= 1 && j >= 1) {
                    float a = up[j - 1] + kMM;
                    a = LogAdd(a, insPrev[j - 1] + kGapM);
                    a = LogAdd(a, delPrev[j - 1] + kGapM);
                    row[j] = a + em.pair[x(i)][y(j)];
                }
                if (i >= 1) ins = gx + LogAdd(up[j] + kMGap, insPrev[j] + kGapGap);
                if (j >= 1) del = em.single[y(j)] + LogAdd(row[j - 1] + kMGap, delCur[j - 1] + kGapGap);
            }
            insCur[j] = ins;
            delCur[j] = del;
        }
        std::swap(insPrev, insCur);
        std::swap(delPrev, delCur);
    }
    ends.f1End = insPrev[width - 1];
    ends.f2End = delPrev[width - 1];
}

// Backward, adding its match state onto forward's in `match` cell by cell.
void Backward(Residues x, int I, Residues y, int J, std::vector<float>& match, Ends& ends) {
    const Emissions& em = TheEmissions();
    const std::size_t width = static_cast<std::size_t>(J) + 1;
    std::vector<float> mNext(width, kZero), mCur(width, kZero), insNext(width, kZero), insCur(width, kZero),
        delCur(width, kZero);
    for (int i = I; i >= 0; --i) {
        float* row = match.data() + static_cast<std::size_t>(i) * width;
        for (int j = J; j >= 0; --j) {
            float b0 = kZero, b1 = kZero, b2 = kZero;
            if (i == I && j == J) {
                // The end distribution, with the last match emission counted on this side too.
                b0 = kStartM + em.pair[x(I)][y(J)];
                b1 = kStartGap;
                b2 = kStartGap;
            } else {
                if (i < I && j < J) {
                    const float p = mNext[j + 1] + em.pair[x(i + 1)][y(j + 1)];
                    b0 = LogAdd(b0, p + kMM);
                    b1 = LogAdd(b1, p + kGapM);
                    b2 = LogAdd(b2, p + kGapM);
                }
                if (i < I) {
                    const float q = insNext[j] + em.single[x(i + 1)];
                    b0 = LogAdd(b0, q + kMGap);
                    b1 = LogAdd(b1, q + kGapGap);
                }
                if (j < J) {
                    const float r = delCur[j + 1] + em.single[y(j + 1)];
                    b0 = LogAdd(b0, r + kMGap);
                    b2 = LogAdd(b2, r + kGapGap);
                }
            }
            mCur[j] = b0;
            insCur[j] = b1;
            delCur[j] = b2;
            row[j] = row[j] + b0;
        }
        if (i == I) {
            ends.b1End = insCur[width - 1];
            ends.b2End = delCur[width - 1];
        }
        if (i == 1) ends.b1Start = insCur[0];
        if (i == 0 && J >= 1) ends.b2Start = delCur[1];
        std::swap(mNext, mCur);
        std::swap(insNext, insCur);
    }
}

}  // namespace

std::vector<LibraryCell> MatchPosteriors(std::string_view xText, std::string_view yText, std::vector<float>& match) {
    const int I = static_cast<int>(xText.size());
    const int J = static_cast<int>(yText.size());
    std::vector<LibraryCell> cells;
    if (I == 0 || J == 0) return cells;
    const Residues x{reinterpret_cast<const unsigned char*>(xText.data())};
    const Residues y{reinterpret_cast<const unsigned char*>(yText.data())};
    const Emissions& em = TheEmissions();
    const std::size_t width = static_cast<std::size_t>(J) + 1;
    match.assign((static_cast<std::size_t>(I) + 1) * width, kZero);
    Ends ends;
    Forward(x, I, y, J, match, ends);
    Backward(x, I, y, J, match, ends);

    // Both ends of the chain estimate the total; t_coffee takes their mean.
    const float atEnd = match[static_cast<std::size_t>(I) * width + static_cast<std::size_t>(J)];
    const float totalEnd = LogAdd(LogAdd(LogAdd(kZero, atEnd), ends.f1End + ends.b1End), ends.f2End + ends.b2End);
    const float f1Start = kStartGap + em.single[x(1)];
    const float f2Start = kStartGap + em.single[y(1)];
    const float totalStart = LogAdd(LogAdd(match[width + 1], f1Start + ends.b1Start), f2Start + ends.b2Start);
    const float total = (totalEnd + totalStart) / 2.0f;

    const double threshold = static_cast<double>(0.01f);
    for (int i = 0; i <= I; ++i) {
        const float* row = match.data() + static_cast<std::size_t>(i) * width;
        for (int j = 0; j <= J; ++j) {
            const float s = row[j] - total;
            const float clamped = s <= 0.0f ? s : 0.0f;
            if (clamped <= -16.0f) continue;  // the exponential is 0 there
            const double v = ExpOfNonPositive(static_cast<double>(clamped));
            if (v > threshold) cells.push_back({i, j, static_cast<int>(static_cast<float>(v) * 1000.0f)});
        }
    }
    return cells;
}

}  // namespace kadrel::pairhmm
