#include <gtest/gtest.h>

#include <sstream>

#include "GapLibrary.h"
#include "calc/GapTables.h"

namespace kadrel::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(GapTables, SpeciesByHand) {
    const std::vector<std::string> expected = {
        "species\tn\tintra_mean\tintra_min\tintra_max\tnearest_species\tnearest_distance\tgap\tflags",
        "A\t2\t0.01\t0.01\t0.01\tB\t0.05\t0.04\t",            // a gap
        "B\t2\t0.02\t0.02\t0.02\tA\t0.05\t0.03\t",
        "C\t2\t0.03\t0.03\t0.03\tD\t0.02\t-0.01\tno gap",      // no gap
        "D\t2\t0.02\t0.02\t0.02\tC\t0.02\t0\tno gap",          // a gap of exactly 0 is none
        "E\t1\tNA\tNA\tNA\tA;B\t0.08\tNA\tsingleton",          // a tie, both named
    };
    EXPECT_EQ(Lines(SpeciesTable(HandCheckedLibrary())), expected);
}

TEST(GapTables, RecordsByHand) {
    const std::vector<std::string> expected = {
        "record\tspecies\tnearest_conspecific\tconspecific_distance\tnearest_other\tother_species\tother_distance\tflags",
        "a1\tA\ta2\t0.01\tb1\tB\t0.05\t",  // u1 at 0 is no other species
        "a2\tA\ta1\t0.01\tb1\tB\t0.06\t",  // b1, b2 and e1 beyond: the first of the tie
        "b1\tB\tb2\t0.02\ta1\tA\t0.05\t",
        "b2\tB\tb1\t0.02\ta1\tA\t0.06\t",
        "c1\tC\tc2\t0.03\ta1\tA\t0.3\t",
        "c2\tC\tc1\t0.03\td1\tD\t0.02\tnearer another species",
        "d1\tD\td2\t0.02\tc2\tC\t0.02\t",  // as near, not nearer
        "d2\tD\td1\t0.02\ta1\tA\t0.3\t",
        "e1\tE\t\tNA\ta2\tA\t0.08\tsingleton",
        "u1\tunclassified\t\tNA\t\t\tNA\tunclassified",
    };
    EXPECT_EQ(Lines(SpecimensTable(HandCheckedLibrary())), expected);
}

// Counted by hand from the records table above, a distance equal to the threshold within.
TEST(GapSweep, CountsByHand) {
    const GapAnalysis analysis = HandCheckedLibrary();
    const struct {
        const char* threshold;
        std::size_t tp, fp, fn, tn;
    } cases[] = {
        {"0", 0, 0, 8, 1},      // nothing within: every record with conspecifics unidentified
        {"0.01", 2, 0, 6, 1},   // a1 and a2 only
        {"0.02", 5, 2, 1, 1},   // c2 and d1 meet each other at 0.02; c1 still has nobody
        {"0.03", 6, 2, 0, 1},   // c1 meets c2
        {"0.05", 4, 4, 0, 1},   // a1 and b1 meet at 0.05
        {"0.3", 0, 9, 0, 0},    // everyone meets another species, e1 too
    };
    for (const auto& c : cases) {
        const SweepCounts counts = analysis.CountsAt(*ParseDecimal(c.threshold));
        EXPECT_EQ(counts.truePositive, c.tp) << c.threshold;
        EXPECT_EQ(counts.falsePositive, c.fp) << c.threshold;
        EXPECT_EQ(counts.falseNegative, c.fn) << c.threshold;
        EXPECT_EQ(counts.trueNegative, c.tn) << c.threshold;
    }
}

TEST(GapSweep, ThresholdsAreExactDecimalsAndTheFirstLeastErrorWins) {
    const auto thresholds = SweepThresholds(*ParseDecimal("0.001"), *ParseDecimal("0.05"), *ParseDecimal("0.001"));
    ASSERT_EQ(thresholds.size(), 50u);
    EXPECT_EQ(DecimalText(thresholds[19]), "0.02");
    EXPECT_EQ(DecimalText(thresholds.back()), "0.05");
    const auto odd = SweepThresholds(*ParseDecimal("0.01"), *ParseDecimal("0.06"), *ParseDecimal("0.02"));
    ASSERT_EQ(odd.size(), 3u);  // 0.07 is past the end
    EXPECT_EQ(DecimalText(odd[2]), "0.05");

    const GapAnalysis analysis = HandCheckedLibrary();
    std::vector<SweepCounts> sweep;
    for (const Fraction& t : SweepThresholds(*ParseDecimal("0.01"), *ParseDecimal("0.05"), *ParseDecimal("0.01")))
        sweep.push_back(analysis.CountsAt(t));
    const std::vector<std::string> expected = {
        "threshold\ttrue_positive\tfalse_positive\tfalse_negative\ttrue_negative\terror",
        "0.01\t2\t0\t6\t1\t6", "0.02\t5\t2\t1\t1\t3", "0.03\t6\t2\t0\t1\t2", "0.04\t6\t2\t0\t1\t2",
        "0.05\t4\t4\t0\t1\t4"};
    EXPECT_EQ(Lines(SweepTable(sweep)), expected);
    EXPECT_EQ(LeastError(sweep), 2u);  // 0.03, before 0.04's equal error
}

TEST(GapHistogram, IntraAndInterPairsOfClassifiedRecordsOnly) {
    const GapAnalysis analysis = HandCheckedLibrary();
    const GapHistogram& histogram = analysis.Histogram();
    const std::map<long long, std::size_t> intra = {{10, 1}, {20, 2}, {30, 1}};
    EXPECT_EQ(histogram.intra, intra);
    std::size_t inter = 0;
    for (const auto& [value, n] : histogram.inter) inter += n;
    EXPECT_EQ(inter, 36u - 4u);  // 9 classified records, 4 intraspecific pairs
    EXPECT_EQ(histogram.inter.at(20), 1u);  // c2-d1
}

}  // namespace
}  // namespace kadrel::test
