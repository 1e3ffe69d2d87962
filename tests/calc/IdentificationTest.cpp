// The hit rule, the tied best, the call and the outcome on small hand-made libraries.
#include <gtest/gtest.h>

#include <map>

#include "calc/HitRule.h"
#include "calc/Identification.h"
#include "sites/AlignmentShape.h"

namespace kadrel {
namespace {

Lineage Of(const char* genus, const char* species, const char* family = "Lestidae") {
    Lineage lineage;
    lineage.At(Rank::Kingdom) = "Animalia";
    lineage.At(Rank::Order) = "Odonata";
    lineage.At(Rank::Family) = family;
    lineage.At(Rank::Genus) = genus;
    lineage.At(Rank::Species) = species;
    return lineage;
}

// The library every case draws on.
const std::map<std::string, Lineage>& Library() {
    static const std::map<std::string, Lineage> library = {
        {"sponsa", Of("Lestes", "Lestes sponsa")},     {"dryas", Of("Lestes", "Lestes dryas")},
        {"virens", Of("Lestes", "Lestes virens")},     {"fusca", Of("Sympecma", "Sympecma fusca")},
        {"puella", Of("Coenagrion", "Coenagrion puella", "Coenagrionidae")},
        {"genusOnly", Of("Lestes", "")},               {"none", Lineage{}},
    };
    return library;
}

struct CallCase {
    const char* what;
    const char* query;  // its species; "" for a query without taxonomy
    std::vector<std::pair<const char*, Fraction>> hits;  // reference, p as differences/compared
    std::vector<std::size_t> best;
    const char* rank;   // "" for no call
    const char* taxon;
    Outcome outcome;
    const char* flags;
};

TEST(IdentificationTest, CallsAndOutcomes) {
    const CallCase cases[] = {
        {"one species within its distance", "Lestes sponsa", {{"sponsa", {3, 600}}, {"sponsa", {5, 600}}, {"dryas", {40, 600}}},
         {0}, "species", "Lestes sponsa", Outcome::Correct, ""},
        {"a tie across species, equal p from different counts", "Lestes sponsa",
         {{"dryas", {3, 600}}, {"sponsa", {1, 200}}, {"virens", {30, 600}}},
         {0, 1}, "genus", "Lestes", Outcome::Ambiguous, "conflicting_taxonomy"},
        {"the tie leaves the query's species out", "Lestes virens", {{"dryas", {3, 600}}, {"sponsa", {3, 600}}},
         {0, 1}, "genus", "Lestes", Outcome::Incorrect, "conflicting_taxonomy"},
        {"two species within the species distance, another genus within the genus distance", "Lestes sponsa",
         {{"sponsa", {6, 600}}, {"dryas", {9, 600}}, {"fusca", {24, 600}}},
         {0}, "family", "Lestidae", Outcome::Correct, ""},
        {"best just outside the species distance", "Lestes sponsa", {{"sponsa", {21, 1000}}, {"dryas", {40, 1000}}},
         {0}, "genus", "Lestes", Outcome::NoId, ""},
        {"best exactly on the species distance", "Lestes sponsa", {{"sponsa", {20, 1000}}, {"dryas", {40, 1000}}},
         {0}, "species", "Lestes sponsa", Outcome::Correct, "single_reference"},
        {"best exactly on the genus distance, one of another genus just beyond it", "",
         {{"dryas", {50, 1000}}, {"fusca", {51, 1000}}}, {0}, "genus", "Lestes", Outcome::NotJudged, "single_reference"},
        {"beyond the family distance no rank is called", "Lestes sponsa", {{"sponsa", {101, 1000}}},
         {0}, "", "", Outcome::NoId, ""},
        {"an unclassified reference tied with the best", "Lestes sponsa", {{"none", {2, 600}}, {"sponsa", {2, 600}}},
         {0, 1}, "", "", Outcome::Ambiguous, "unclassified_best"},
        {"a reference named only to genus cannot agree on the species", "Lestes sponsa",
         {{"sponsa", {2, 600}}, {"genusOnly", {5, 600}}}, {0}, "genus", "Lestes", Outcome::Correct, ""},
        {"different families within the family distance", "",
         {{"sponsa", {31, 600}}, {"puella", {50, 600}}}, {0}, "", "", Outcome::NotJudged, ""},
        {"no hit", "Lestes sponsa", {}, {}, "", "", Outcome::NoId, "no_reference_within_max_distance"},
    };
    const HitRule rule;
    for (const auto& c : cases) {
        std::vector<Hit> hits;
        for (std::size_t h = 0; h < c.hits.size(); ++h)
            hits.push_back({h, c.hits[h].second, &Library().at(c.hits[h].first)});
        Lineage query;
        query.At(Rank::Species) = c.query;
        const Identification id = Identify(rule, {&query, 650}, hits);
        EXPECT_EQ(id.best, c.best) << c.what;
        EXPECT_EQ(id.rank ? std::string(RankName(*id.rank)) : "", c.rank) << c.what;
        EXPECT_EQ(id.taxon, c.taxon) << c.what;
        EXPECT_EQ(id.outcome, c.outcome) << c.what;
        EXPECT_EQ(id.FlagsText(), c.flags) << c.what;
    }
}

TEST(IdentificationTest, TheCallCarriesTheLineageDownToItsRank) {
    const std::vector<Hit> hits = {{0, {1, 600}, &Library().at("dryas")}, {1, {1, 600}, &Library().at("sponsa")}};
    const Lineage query;
    const Identification id = Identify(HitRule{}, {&query, 40}, hits);
    EXPECT_EQ(id.lineage, "Animalia;;;Odonata;Lestidae;Lestes");
    EXPECT_EQ(id.support, 2u);
    EXPECT_EQ(id.FlagsText(), "conflicting_taxonomy,query_below_min_overlap");
    EXPECT_EQ(OutcomeText(id.outcome), "");
    // Both flags follow from counts alone: no hit, and the query's bases against the floor (100).
    EXPECT_EQ(Identify(HitRule{}, {&query, 99}, {}).FlagsText(), "no_reference_within_max_distance,query_below_min_overlap");
    EXPECT_EQ(Identify(HitRule{}, {&query, 100}, {}).FlagsText(), "no_reference_within_max_distance");
}

struct RuleCase {
    const char* what;
    PairEvidence pair;
    bool within, hit;
};

TEST(IdentificationTest, TheHitRuleIsInclusiveAndExact) {
    HitRule rule;  // max distance 0.1, overlap 100, coverage 0.8, 5 gap runs
    const RuleCase cases[] = {
        {"well within", {10, 600, 650, 0}, true, true},
        {"p exactly on the largest distance", {60, 600, 650, 0}, true, true},
        {"one thousandth beyond it", {101, 1000, 1000, 0}, false, false},
        {"nothing compared", {0, 0, 650, 0}, false, false},
        {"compared sites on the overlap floor", {0, 100, 120, 0}, true, true},
        {"one site under it", {0, 99, 120, 0}, true, false},
        {"coverage exactly 0.8", {0, 400, 500, 0}, true, true},
        {"coverage just under", {0, 399, 500, 0}, true, false},
        {"gap runs at the cap", {5, 600, 650, 5}, true, true},
        {"one above the cap", {5, 600, 650, 6}, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithinMaxDistance(rule, c.pair), c.within) << c.what;
        EXPECT_EQ(IsHit(rule, c.pair), c.hit) << c.what;
    }
    EXPECT_EQ(rule.CommentLine("aligner=builtin"),
              "# max-distance=0.1 min-overlap=100 min-coverage=0.8 max-gap-runs=5 "
              "thresholds=species=0.02,genus=0.05,family=0.1 aligner=builtin");
}

TEST(IdentificationTest, ThresholdsAndDecimalsAreReadWithAPointOnly) {
    std::string error;
    const auto thresholds = ParseThresholds("family=0.10,species=0.015,genus=.05", error);
    ASSERT_TRUE(thresholds) << error;
    EXPECT_EQ(ThresholdsText(*thresholds), "species=0.015,genus=0.05,family=0.1");
    for (const char* bad : {"species=0,02", "species", "tribe=0.1", "species=0.02,species=0.03", "",
                            "species=0.05,genus=0.02"}) {
        EXPECT_FALSE(ParseThresholds(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_EQ(error, "genus's distance is smaller than species's: a higher rank needs the larger one");
    for (const char* bad : {"0,8", "-0.1", "1e-2", ".", "0.1234567891"}) EXPECT_FALSE(ParseDecimal(bad)) << bad;
    EXPECT_EQ(DecimalText(*ParseDecimal("0.020")), "0.02");
    EXPECT_TRUE(*ParseDecimal("0.02") == (Fraction{1, 50}));
}

struct ShapeCase {
    const char* first;
    const char* second;
    AlignmentShape shape;  // columns, identical, mismatches, openings, runs, starts and ends, bases
};

TEST(IdentificationTest, TheAlignmentShapeCountsOnlyGapsInsideTheRegion) {
    const ShapeCase cases[] = {
        // End gaps lie outside the region; the query's positions count from its own start.
        {"--ACGTACGT--", "TTACGAACGTAA", {8, 7, 1, 0, 0, 1, 8, 3, 10, 8}},
        // A gap in one sequence right after one in the other: one run, two openings.
        {"ACG--TTACG", "ACGAA-TACG", {10, 7, 0, 2, 1, 1, 8, 1, 9, 8}},
        // Two runs; case and U mended.
        {"ACgu-ACG-T", "ACGTTACGAT", {10, 8, 0, 2, 2, 1, 8, 1, 10, 8}},
        {"NNNN", "----", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        AlignedPair pair;
        pair.first = c.first;
        pair.second = c.second;
        const AlignmentShape s = MeasureAlignment(pair);
        const std::vector<std::size_t> got = {s.columns, s.identical, s.mismatches, s.gapOpenings, s.internalGapRuns,
                                              s.firstStart, s.firstEnd, s.secondStart, s.secondEnd, s.firstBases};
        const AlignmentShape& e = c.shape;
        const std::vector<std::size_t> expected = {e.columns, e.identical, e.mismatches, e.gapOpenings,
                                                   e.internalGapRuns, e.firstStart, e.firstEnd, e.secondStart,
                                                   e.secondEnd, e.firstBases};
        EXPECT_EQ(got, expected) << c.first << " / " << c.second;
    }
}

}  // namespace
}  // namespace kadrel
