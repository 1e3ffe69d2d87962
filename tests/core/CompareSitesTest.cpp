#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "distances/NumberText.h"
#include "sites/CompareSites.h"

namespace kadrel {
namespace {

// The classification rules written out site by site, as a biologist would check them by hand.
// "mTA" is pairMatrix[T][A]: base of second, then base of first. The G+C step comes on top.
struct Rule {
    char first, second;
    const char* changes;
};

const Rule kRules[] = {
    {'A', 'A', "mAA=1"},
    {'C', 'C', "mCC=1"},
    {'G', 'G', "mGG=1"},
    {'T', 'T', "mTT=1"},
    {'A', 'T', "baseA=0.5 differences=1 transversions=1 pairAT=1 mTA=1 baseT=0.5"},
    {'A', 'C', "baseA=0.5 differences=1 transversions=1 pairAC=1 mCA=1 baseC=0.5"},
    {'A', 'G', "baseA=0.5 differences=1 transitions=1 purineTransitions=1 pairAG=1 mGA=1 baseG=0.5"},
    {'A', '-', "baseA=0 gaps=1 gcSecond=-1"},
    {'A', 'Y', "baseA=0.5 differences=1 transversions=1 pairAT=0.5 pairAC=0.5 mTA=0.5 mCA=0.5 baseT=0.25 baseC=0.25"},
    {'A', 'S', "baseA=0.5 differences=1 transitions=0.5 transversions=0.5 purineTransitions=0.5 pairAG=0.5 pairAC=0.5 mGA=0.5 mCA=0.5 baseG=0.25 baseC=0.25"},
    {'A', 'K', "baseA=0.5 differences=1 transitions=0.5 transversions=0.5 purineTransitions=0.5 pairAG=0.5 pairAT=0.5 mGA=0.5 mTA=0.5 baseG=0.25 baseT=0.25"},
    {'A', 'B', "baseA=0.5 differences=1 transitions=0.33 transversions=0.66 purineTransitions=0.33 pairAG=0.33 pairAT=0.33 pairAC=0.33 mGA=0.33 mTA=0.33 mCA=0.33 baseG=0.166 baseT=0.166 baseC=0.166"},
    {'T', 'A', "baseT=0.5 differences=1 transversions=1 pairAT=1 mAT=1 baseA=0.5"},
    {'T', 'C', "baseT=0.5 differences=1 transitions=1 pyrimidineTransitions=1 pairCT=1 mCT=1 baseC=0.5"},
    {'T', 'G', "baseT=0.5 differences=1 transversions=1 pairGT=1 mGT=1 baseG=0.5"},
    {'T', '-', "baseT=0 gaps=1 gcSecond=-1"},
    {'T', 'R', "baseT=0.5 differences=1 transversions=1 pairAT=0.5 pairGT=0.5 mAT=0.5 mGT=0.5 baseA=0.25 baseG=0.25"},
    {'T', 'S', "baseT=0.5 differences=1 transitions=0.5 transversions=0.5 pyrimidineTransitions=0.5 pairCT=0.5 pairGT=0.5 mGT=0.5 mCT=0.5 baseG=0.25 baseC=0.25"},
    {'T', 'M', "baseT=0.5 differences=1 transitions=0.5 transversions=0.5 pyrimidineTransitions=0.5 pairCT=0.5 pairAT=0.5 mAT=0.5 mCT=0.5 baseC=0.25 baseA=0.25"},
    {'T', 'V', "baseT=0.5 differences=1 transitions=0.33 transversions=0.66 pyrimidineTransitions=0.33 pairCT=0.33 pairAT=0.33 pairGT=0.33 mAT=0.33 mCT=0.33 mGT=0.33 baseC=0.166 baseA=0.166 baseG=0.166"},
    {'C', 'T', "baseC=0.5 differences=1 transitions=1 pyrimidineTransitions=1 pairCT=1 mTC=1 baseT=0.5"},
    {'C', 'A', "baseC=0.5 differences=1 transversions=1 pairAC=1 mAC=1 baseA=0.5"},
    {'C', 'G', "baseC=0.5 differences=1 transversions=1 pairCG=1 mGC=1 baseG=0.5"},
    {'C', '-', "baseC=0 gaps=1 gcSecond=-1"},
    {'C', 'R', "baseC=0.5 differences=1 transversions=1 pairAC=0.5 pairCG=0.5 mAC=0.5 mGC=0.5 baseA=0.25 baseG=0.25"},
    {'C', 'W', "baseC=0.5 differences=1 transitions=0.5 transversions=0.5 pyrimidineTransitions=0.5 pairAC=0.5 pairCT=0.5 mTC=0.5 mAC=0.5 baseA=0.25 baseT=0.25"},
    {'C', 'K', "baseC=0.5 differences=1 transitions=0.5 transversions=0.5 pyrimidineTransitions=0.5 pairCG=0.5 pairCT=0.5 mTC=0.5 mGC=0.5 baseT=0.25 baseG=0.25"},
    {'C', 'D', "baseC=0.5 differences=1 transitions=0.33 transversions=0.66 pyrimidineTransitions=0.33 pairCG=0.33 pairCT=0.33 pairAC=0.33 mTC=0.33 mAC=0.33 mGC=0.33 baseA=0.166 baseT=0.166 baseG=0.166"},
    {'G', 'T', "baseG=0.5 differences=1 transversions=1 pairGT=1 mTG=1 baseT=0.5"},
    {'G', 'C', "baseG=0.5 differences=1 transversions=1 pairCG=1 mCG=1 baseC=0.5"},
    {'G', 'A', "baseG=0.5 differences=1 transitions=1 purineTransitions=1 pairAG=1 mAG=1 baseA=0.5"},
    {'G', '-', "baseG=0 gaps=1 gcSecond=-1"},
    {'G', 'Y', "baseG=0.5 differences=1 transversions=1 pairGT=0.5 pairCG=0.5 mTG=0.5 mCG=0.5 baseT=0.25 baseC=0.25"},
    {'G', 'W', "baseG=0.5 differences=1 transitions=0.5 transversions=0.5 purineTransitions=0.5 pairAG=0.5 pairGT=0.5 mAG=0.5 mTG=0.5 baseA=0.25 baseT=0.25"},
    {'G', 'M', "baseG=0.5 differences=1 transitions=0.5 transversions=0.5 purineTransitions=0.5 pairAG=0.5 pairCG=0.5 mAG=0.5 mCG=0.5 baseA=0.25 baseC=0.25"},
    {'G', 'H', "baseG=0.5 differences=1 transitions=0.33 transversions=0.66 purineTransitions=0.33 pairAG=0.33 pairCG=0.33 pairGT=0.33 mAG=0.33 mCG=0.33 mTG=0.33 baseA=0.166 baseC=0.166 baseT=0.166"},
};

int Code(char base) { return static_cast<int>(std::strchr("ACGT", base) - "ACGT"); }

double& Field(PairCounts& c, const std::string& name) {
    if (name.size() == 3 && name[0] == 'm') return c.pairMatrix[Code(name[1])][Code(name[2])];
    static const std::pair<const char*, double PairCounts::*> fields[] = {
        {"differences", &PairCounts::differences}, {"gaps", &PairCounts::gaps},
        {"transitions", &PairCounts::transitions}, {"transversions", &PairCounts::transversions},
        {"purineTransitions", &PairCounts::purineTransitions},
        {"pyrimidineTransitions", &PairCounts::pyrimidineTransitions}, {"gcFirst", &PairCounts::gcFirst},
        {"gcSecond", &PairCounts::gcSecond}, {"baseA", &PairCounts::baseA}, {"baseC", &PairCounts::baseC},
        {"baseG", &PairCounts::baseG}, {"baseT", &PairCounts::baseT}, {"pairAC", &PairCounts::pairAC},
        {"pairAG", &PairCounts::pairAG}, {"pairAT", &PairCounts::pairAT}, {"pairCG", &PairCounts::pairCG},
        {"pairCT", &PairCounts::pairCT}, {"pairGT", &PairCounts::pairGT}};
    for (const auto& [fieldName, member] : fields) {
        if (name == fieldName) return c.*member;
    }
    throw std::invalid_argument("unknown field " + name);
}

PairCounts Expected(const std::string& changes, char first, char second) {
    PairCounts c;
    std::istringstream in(changes);
    std::string item;
    while (in >> item) {
        const auto eq = item.find('=');
        Field(c, item.substr(0, eq)) += std::stod(item.substr(eq + 1));
    }
    // G+C step at every site, then the gap corrections of the rules.
    if (first == 'C' || first == 'G') c.gcFirst += 1;
    if (second == 'C' || second == 'G') c.gcSecond += 1;
    return c;
}

std::string Describe(const PairCounts& c) {
    std::ostringstream out;
    out << "diff " << c.differences << " gaps " << c.gaps << " ts " << c.transitions << " tv " << c.transversions
        << " pur " << c.purineTransitions << " pyr " << c.pyrimidineTransitions << " gc " << c.gcFirst << "/"
        << c.gcSecond << " base " << c.baseA << "," << c.baseC << "," << c.baseG << "," << c.baseT << " pairs "
        << c.pairAC << "," << c.pairAG << "," << c.pairAT << "," << c.pairCG << "," << c.pairCT << "," << c.pairGT
        << " matrix";
    for (const auto& row : c.pairMatrix)
        for (double v : row) out << " " << v;
    return out.str();
}

void ExpectSame(const PairCounts& expected, const PairCounts& actual, const std::string& where) {
    EXPECT_EQ(Describe(expected), Describe(actual)) << where;
}

PairCounts CompareOne(char first, char second) {
    AlignedPair pair;
    pair.first = first ? std::string(1, first) : std::string();
    pair.second = second ? std::string(1, second) : std::string();
    pair.length = 1;
    pair.usable = true;
    return CompareSites(pair);
}

std::string Label(char f, char s) {
    std::ostringstream out;
    out << "first '" << (f ? std::string(1, f) : "(empty)") << "' (" << int(static_cast<unsigned char>(f))
        << ") against second '" << (s ? std::string(1, s) : "(empty)") << "' (" << int(static_cast<unsigned char>(s))
        << ")";
    return out.str();
}

const Rule* NamedRule(char first, char second) {
    for (const Rule& rule : kRules) {
        if (rule.first == first && rule.second == second) return &rule;
    }
    return nullptr;
}

bool IsDefinite(char c) { return c == 'A' || c == 'C' || c == 'G' || c == 'T'; }

// Every pair of characters, 0 standing for an empty site entry (past the end of a shorter
// sequence). Outside the rules written out above: an identical site counts only on the diagonal
// of a definite base, a gap in first against anything else is a gap site, a definite base against
// any other character counts its half base, and any other first character changes nothing.
TEST(CompareSites, EveryPairOfCharacters) {
    for (int f = 0; f < 256; ++f) {
        for (int s = 0; s < 256; ++s) {
            const char first = static_cast<char>(f), second = static_cast<char>(s);
            std::string changes;
            if (const Rule* rule = NamedRule(first, second)) {
                changes = rule->changes;
            } else if (first == second) {
                if (IsDefinite(first)) changes = std::string("m") + first + first + "=1";
            } else if (first == '-') {
                changes = "gaps=1 gcFirst=-1";
            } else if (IsDefinite(first)) {
                changes = std::string("base") + first + "=0.5";
            }
            ExpectSame(Expected(changes, first, second), CompareOne(first, second), Label(first, second));
        }
    }
}

TEST(CompareSites, ThreeBaseCodesUseTheDecimalWeights) {
    AlignedPair pair{"AAA", "BBB", 3, "", "", true, ""};
    const PairCounts c = CompareSites(pair);
    EXPECT_EQ(c.differences, 3);
    EXPECT_EQ(NumberText(c.transitions), "0.99");
    EXPECT_EQ(NumberText(c.transversions), "1.98");
    EXPECT_EQ(NumberText(c.purineTransitions), "0.99");
    for (double v : {c.pairAG, c.pairAT, c.pairAC}) EXPECT_EQ(NumberText(v), "0.99");
    for (double v : {c.baseG, c.baseT, c.baseC}) EXPECT_EQ(NumberText(v), "0.498");
    EXPECT_EQ(c.baseA, 1.5);
    EXPECT_NE(c.transitions, 1.0);
}

TEST(CompareSites, VisitsOnlyTheSitesUpToLength) {
    struct Case {
        std::string first, second;
        double length;
        double differences, gaps;
    };
    const Case cases[] = {
        {"AG", "GG", 0, 0, 0},     {"AG", "GG", -3, 0, 0},   {"AG-", "GC-", 1, 1, 0},
        {"AG-", "GCA", 3, 2, 1},   {"AC", "A", 2, 0, 0},     {"A", "", 1, 0, 0},
        {"A-", "GT", 1e12, 1, 1},  {"AC", "GT", 1.5, 1, 0},
    };
    for (const Case& k : cases) {
        const PairCounts c = CompareSites(AlignedPair{k.first, k.second, k.length, "", "", true, ""});
        EXPECT_EQ(c.differences, k.differences) << k.first << "/" << k.second << " length " << k.length;
        EXPECT_EQ(c.gaps, k.gaps) << k.first << "/" << k.second << " length " << k.length;
    }
}

// Over random alignments, the whole pass equals the sum of its sites, and the totals keep the
// relations that hold by construction of the weights.
TEST(CompareSites, RandomAlignmentsKeepTheInvariants) {
    const std::string alphabet = "ACGTACGTACGT--YRSWKMBDHVNa?";
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int trial = 0; trial < 200; ++trial) {
        AlignedPair pair;
        const std::size_t n = 1 + random() % 300;
        for (std::size_t i = 0; i < n; ++i) {
            pair.first += alphabet[pick(random)];
            pair.second += alphabet[pick(random)];
        }
        pair.length = static_cast<double>(n);
        pair.usable = true;
        const PairCounts whole = CompareSites(pair);

        PairCounts sum;
        double classifiedTwoOrOne = 0, classifiedThree = 0, identicalDefinite = 0, halfBases = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const char f = pair.first[i], s = pair.second[i];
            const PairCounts one = CompareOne(f, s);
            sum.differences += one.differences;
            sum.gaps += one.gaps;
            sum.transitions += one.transitions;
            sum.transversions += one.transversions;
            sum.gcFirst += one.gcFirst;
            sum.gcSecond += one.gcSecond;
            sum.baseA += one.baseA;
            sum.baseC += one.baseC;
            sum.baseG += one.baseG;
            sum.baseT += one.baseT;
            const bool definiteFirst = std::strchr("ACGT", f) != nullptr;
            if (one.differences == 1) (std::strchr("BDHV", s) ? classifiedThree : classifiedTwoOrOne) += 1;
            if (f == s && definiteFirst) identicalDefinite += 1;
            if (definiteFirst && f != s && s != '-' && one.differences == 0) halfBases += 1;
        }
        const std::string where = pair.first + " / " + pair.second;
        EXPECT_EQ(whole.differences, sum.differences) << where;
        EXPECT_EQ(whole.gaps, sum.gaps) << where;
        EXPECT_EQ(whole.gcFirst, sum.gcFirst) << where;
        EXPECT_EQ(whole.gcSecond, sum.gcSecond) << where;
        EXPECT_EQ(whole.differences, classifiedTwoOrOne + classifiedThree) << where;
        EXPECT_EQ(whole.pairAG, whole.purineTransitions) << where;
        EXPECT_EQ(whole.pairCT, whole.pyrimidineTransitions) << where;

        const double perSite = classifiedTwoOrOne + 0.99 * classifiedThree;
        const double pairTotal = whole.pairAC + whole.pairAG + whole.pairAT + whole.pairCG + whole.pairCT + whole.pairGT;
        double offDiagonal = 0, diagonal = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) (x == y ? diagonal : offDiagonal) += whole.pairMatrix[y][x];
        EXPECT_NEAR(whole.transitions + whole.transversions, perSite, 1e-9) << where;
        EXPECT_NEAR(pairTotal, perSite, 1e-9) << where;
        EXPECT_NEAR(offDiagonal, perSite, 1e-9) << where;
        EXPECT_EQ(diagonal, identicalDefinite) << where;
        EXPECT_NEAR(whole.transitions, sum.transitions, 1e-9) << where;
        EXPECT_NEAR(whole.transversions, sum.transversions, 1e-9) << where;

        const double composition = whole.baseA + whole.baseC + whole.baseG + whole.baseT;
        EXPECT_NEAR(composition, classifiedTwoOrOne + 0.998 * classifiedThree + 0.5 * halfBases, 1e-9) << where;
    }
}

}  // namespace
}  // namespace kadrel
