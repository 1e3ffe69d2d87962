// The word bound identify prunes by: its arithmetic on exact cases, the words it counts, and the
// inequality it rests on, checked on every alignment of seeded pairs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "align/builtin/BuiltinAligner.h"
#include "calc/WordIndex.h"
#include "distances/PairRow.h"

namespace kadrel {
namespace {

HitRule Rule(Fraction t, std::size_t overlap, Fraction coverage, std::size_t gapRuns) {
    HitRule rule;
    rule.maxDistance = t;
    rule.minOverlap = overlap;
    rule.minCoverage = coverage;
    rule.maxGapRuns = gapRuns;
    return rule;
}

TEST(WordBound, NeededSharedOnExactCases) {
    struct Case {
        Fraction t;
        unsigned q;
        std::uint64_t least, gapRuns, broken;
        std::optional<std::int64_t> needed;
    };
    const std::vector<Case> cases = {
        {{3, 100}, 12, 520, 5, 0, 333 - 66},   // 520 x 0.64 = 332.8, up to 333
        {{3, 100}, 11, 520, 5, 0, 349 - 60},   // 348.4 up to 349
        {{5, 100}, 10, 240, 5, 0, 120 - 54},   // exactly 120
        {{5, 100}, 10, 240, 5, 7, 120 - 54 - 7},
        {{1, 10}, 7, 520, 5, 0, 156 - 36},
        {{1, 10}, 9, 520, 5, 0, 52 - 48},
        {{1, 10}, 9, 520, 6, 0, 52 - 56},      // below 0: every reference can reach it
        {{0, 1}, 12, 100, 0, 3, 100 - 11 - 3},
        {{1, 10}, 10, 520, 5, 0, std::nullopt},  // qT = 1
        {{3, 20}, 7, 520, 5, 0, std::nullopt},   // qT = 1.05
        {{1, 3}, 2, 7, 0, 0, 3 - 1},            // 7 / 3 = 2.33 up to 3
    };
    for (std::size_t c = 0; c < cases.size(); ++c) {
        const Case& k = cases[c];
        const auto needed = NeededShared(Rule(k.t, 0, {0, 1}, k.gapRuns), k.q, k.least, k.broken);
        EXPECT_EQ(needed, k.needed) << "case " << c;
    }
}

TEST(WordBound, LeastComparedAndWordLength) {
    const HitRule rule = Rule({1, 10}, 100, {8, 10}, 5);
    EXPECT_EQ(LeastCompared(rule, 650), 520u);
    EXPECT_EQ(LeastCompared(rule, 651), 521u);  // 520.8 up
    EXPECT_EQ(LeastCompared(rule, 100), 100u);  // the floor
    EXPECT_EQ(LeastCompared(Rule({1, 10}, 0, {0, 1}, 5), 0), 1u);
    const std::vector<std::pair<Fraction, unsigned>> lengths = {
        {{0, 1}, 12}, {{1, 100}, 12}, {{3, 100}, 12}, {{4, 100}, 12}, {{5, 100}, 10},
        {{6, 100}, 8}, {{7, 100}, 7}, {{1, 10}, 7}, {{1, 5}, 7}};
    for (const auto& [t, q] : lengths) EXPECT_EQ(WordLength(t), q) << DecimalText(t);
}

TEST(WordBound, ReadsDefiniteWordsOnly) {
    struct Case {
        const char* residues;
        unsigned q;
        std::vector<std::uint32_t> words;
        std::uint64_t bases, broken;
    };
    const std::vector<Case> cases = {
        {"ACGTA", 3, {0b000110, 0b011011, 0b101100}, 5, 0},
        {"acgu", 4, {0b00011011}, 4, 0},
        {"ACNGT", 2, {0b0001, 0b1011}, 4, 2},
        {"AAAA", 2, {0, 0, 0}, 4, 0},
        {"ARYA", 1, {0, 0}, 2, 2},
        {"AC", 3, {}, 2, 0},
        {"NNNNN", 2, {}, 0, 4},
    };
    for (const Case& c : cases) {
        const SequenceWords words = ReadWords(c.residues, c.q);
        EXPECT_EQ(words.words, c.words) << c.residues;
        EXPECT_EQ(words.bases, c.bases) << c.residues;
        EXPECT_EQ(words.brokenWindows, c.broken) << c.residues;
    }
}

TEST(WordBound, CountsSharedWordsAsMultisets) {
    const std::vector<std::string> references = {"AAAAAA", "ACGTAC", "NNNN", "TTAATTAA", "AAA"};
    const WordIndex index(2, references.size(), [&](std::size_t k) { return references[k]; });
    std::vector<std::uint32_t> shared;
    index.CountShared(ReadWords("AAAATT", 2), shared);  // AA x3, AT, TT
    EXPECT_EQ(shared, (std::vector<std::uint32_t>{3, 0, 0, 4, 2}));  // TTAATTAA: AA x2, AT, TT x2
    EXPECT_EQ(index.BrokenWindows(2), 3u);
    EXPECT_EQ(index.Bases(1), 6u);
}

std::string Mutated(const std::string& source, std::mt19937& random) {
    std::uniform_int_distribution<int> event(0, 99), base(0, 3);
    const char* bases = "ACGT";
    std::string out;
    const int rate = std::uniform_int_distribution<int>(0, 20)(random);
    for (const char c : source) {
        const int e = event(random);
        if (e < rate) out += bases[base(random)];         // a substitution (or the same base)
        else if (e < rate + 1) continue;                  // a deletion
        else if (e < rate + 2) out += std::string(1 + base(random), bases[base(random)]) + c;
        else if (e < rate + 3) out += std::string(1 + 4 * base(random), 'N');
        else if (e < rate + 4) out += "RY";
        else out += c;
    }
    return out;
}

// For every alignment the aligner gives, with C compared sites, D differences and R internal gap
// runs: shared words + the reference's broken windows >= C - qD - (R + 1)(q - 1) - the query's.
// Then a hit can never fall below NeededShared, whatever its T and floors.
TEST(WordBound, HoldsOnEveryAlignedPair) {
    std::mt19937 random(20261208);
    BuiltinAligner aligner;
    std::uniform_int_distribution<int> base(0, 3);
    std::vector<std::string> queries, references;
    std::vector<PairRow> rows;
    for (int pair = 0; pair < 300; ++pair) {
        std::string query;
        const int length = std::uniform_int_distribution<int>(40, 300)(random);
        for (int s = 0; s < length; ++s) query += "ACGT"[base(random)];
        if (pair % 5 == 0) query.replace(20, 30, std::string(30, 'A'));  // repeated words
        std::string reference = Mutated(query, random);
        if (pair % 7 == 0) reference = reference.substr(0, reference.size() / 2);
        const AlignedPair aligned = aligner.Align(">q\n" + query + "\n", ">r\n" + reference + "\n", "w", {});
        ASSERT_TRUE(aligned.usable);
        queries.push_back(query);
        references.push_back(reference);
        rows.push_back(ComputePairRow(aligned, DistanceModel::None, true));
    }
    int tight = 0, bounded = 0;
    for (const unsigned q : {1u, 4u, 7u, 12u}) {
        const WordIndex index(q, references.size(), [&](std::size_t k) { return references[k]; });
        std::vector<std::uint32_t> shared;
        for (std::size_t pair = 0; pair < rows.size(); ++pair) {
            const PairRow& row = rows[pair];
            if (!row.compared || *row.compared == 0) continue;
            const auto c = static_cast<std::int64_t>(*row.compared), d = static_cast<std::int64_t>(*row.differences);
            const auto runs = static_cast<std::int64_t>(row.shape.internalGapRuns);
            const SequenceWords words = ReadWords(queries[pair], q);
            index.CountShared(words, shared);
            const std::int64_t have = shared[pair] + static_cast<std::int64_t>(index.BrokenWindows(pair));
            const std::int64_t floor = c - q * d - (runs + 1) * (q - 1) - static_cast<std::int64_t>(words.brokenWindows);
            ASSERT_GE(have, floor) << "pair " << pair << " q " << q;
            tight += have - floor <= 2 ? 1 : 0;
            // As a hit of a rule it just meets: T = D / C, floors at C and R.
            const HitRule rule = Rule({static_cast<std::uint64_t>(d), static_cast<std::uint64_t>(c)},
                                      static_cast<std::size_t>(c), {0, 1}, static_cast<std::size_t>(runs));
            const std::uint64_t least = LeastCompared(rule, words.bases);
            const auto needed = NeededShared(rule, q, least, words.brokenWindows);
            EXPECT_TRUE(CanBeHit(needed, least, shared[pair], index.Bases(pair), index.BrokenWindows(pair))) << pair;
            bounded += needed && *needed > 0 ? 1 : 0;
        }
    }
    // The seeds must reach the edge: pairs within two words of the bound, bounds that say something.
    EXPECT_GT(tight, 20) << tight;
    EXPECT_GT(bounded, 100) << bounded;
}

}  // namespace
}  // namespace kadrel
