#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "align/pairhmm/DiagonalKernels.h"
#include "align/pairhmm/Model.h"

namespace kadrel::pairhmm {
namespace {

// Seeded diagonals whose neighbouring values often differ by the correction's piece bounds
// (1, 2.5, 4.5, 7.5) once the transitions are added, tie, or hold the sentinel: the places where
// a kernel that chose a piece, a side or a rounding differently would show it.
struct Diagonal {
    int n;
    std::vector<float> in[7];  // forward reads all seven, backward the first three
    std::vector<std::uint8_t> cx, cy;
    std::vector<float> sum;
};

Diagonal Draw(std::mt19937& random, int n) {
    constexpr float kBounds[] = {0.0f, 1.0f, 2.5f, 4.5f, 7.5f, -1.0f, -2.5f, -4.5f, -7.5f};
    std::uniform_real_distribution<float> logValue(-80.0f, 0.0f);
    Diagonal d{n, {}, {}, {}, {}};
    for (auto& values : d.in) {
        for (int t = 0; t < n; ++t) {
            const unsigned roll = random() % 8;
            float v = logValue(random);
            if (roll == 0) v = kZero;
            if (roll >= 5 && &values != &d.in[0]) {
                // Relative to the first input of the same cell, so that after the transitions the
                // two terms of an addition lie a bound apart, or nearly.
                v = d.in[0][static_cast<std::size_t>(t)] + kMM - kGapM + kBounds[random() % 9];
                if (roll == 7) v = std::nextafter(v, 0.0f);
            }
            values.push_back(v);
        }
    }
    for (int t = 0; t < n; ++t) {
        d.cx.push_back(static_cast<std::uint8_t>(random() % 7));
        d.cy.push_back(static_cast<std::uint8_t>(random() % 7));
        d.sum.push_back(logValue(random));
    }
    return d;
}

// The outputs, with a guard cell beyond the end that no kernel may write.
struct Out {
    std::vector<float> m, ins, del, sum;
    explicit Out(const Diagonal& d)
        : m(static_cast<std::size_t>(d.n) + 1, 1.0f), ins(m), del(m), sum(d.sum) { sum.push_back(1.0f); }
};

std::string Differences(const Out& mine, const Out& portable) {
    std::string text;
    const std::vector<float> Out::*states[] = {&Out::m, &Out::ins, &Out::del, &Out::sum};
    const char* names[] = {"m", "ins", "del", "sum"};
    for (int s = 0; s < 4; ++s)
        for (std::size_t t = 0; t < (mine.*states[s]).size(); ++t)
            if (std::bit_cast<std::uint32_t>((mine.*states[s])[t]) != std::bit_cast<std::uint32_t>((portable.*states[s])[t]))
                text += std::string(" ") + names[s] + "[" + std::to_string(t) + "]";
    return text;
}

TEST(PairHmmKernels, EverySetThisProcessorRunsGivesThePortableBits) {
    const std::vector<KernelSet> sets = RunnableKernels();
    ASSERT_STREQ(sets.back().name, "portable");
    if (sets.size() == 1) GTEST_SKIP() << "this processor runs only the portable kernels";
    std::mt19937 random(18);
    int cells = 0;
    for (int round = 0; round < 400; ++round) {
        const Diagonal d = Draw(random, 1 + round % 41);
        const auto run = [&](const KernelSet& set) {
            Out forward(d), backward(d);
            set.forward(d.n, d.in[0].data(), d.in[1].data(), d.in[2].data(), d.in[3].data(), d.in[4].data(),
                        d.in[5].data(), d.in[6].data(), d.cx.data(), d.cy.data(), forward.m.data(), forward.ins.data(),
                        forward.del.data());
            set.backward(d.n, d.in[0].data(), d.in[1].data(), d.in[2].data(), d.cx.data(), d.cy.data(),
                         backward.m.data(), backward.ins.data(), backward.del.data(), backward.sum.data());
            return std::pair{forward, backward};
        };
        const auto [forwardP, backwardP] = run(sets.back());
        for (std::size_t s = 0; s + 1 < sets.size(); ++s) {
            const auto [forward, backward] = run(sets[s]);
            EXPECT_EQ(Differences(forward, forwardP), "") << sets[s].name << " forward, round " << round;
            EXPECT_EQ(Differences(backward, backwardP), "") << sets[s].name << " backward, round " << round;
        }
        cells += d.n;
    }
    EXPECT_GT(cells, 8000);
}

}  // namespace
}  // namespace kadrel::pairhmm
