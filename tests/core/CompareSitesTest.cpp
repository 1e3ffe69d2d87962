#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "sites/CompareSites.h"

namespace kadrel {
namespace {

// The classification rules written out site by site, as a biologist would check them by hand:
// d differences, g gaps, ts and tv transitions and transversions, pu and py their purine and
// pyrimidine parts, bX the composition share of base X, mYX pairMatrix[Y][X] (base of second,
// then base of first), gc1 and gc2 the G+C counts.
const std::map<std::pair<char, char>, std::string> kRules = {
    {{'A', 'T'}, "bA=0.5 d=1 tv=1 mTA=1 bT=0.5"},
    {{'A', 'C'}, "bA=0.5 d=1 tv=1 mCA=1 bC=0.5"},
    {{'A', 'G'}, "bA=0.5 d=1 ts=1 pu=1 mGA=1 bG=0.5"},
    {{'A', 'Y'}, "bA=0.5 d=1 tv=1 mTA=0.5 mCA=0.5 bT=0.25 bC=0.25"},
    {{'A', 'S'}, "bA=0.5 d=1 ts=0.5 tv=0.5 pu=0.5 mGA=0.5 mCA=0.5 bG=0.25 bC=0.25"},
    {{'A', 'K'}, "bA=0.5 d=1 ts=0.5 tv=0.5 pu=0.5 mGA=0.5 mTA=0.5 bG=0.25 bT=0.25"},
    {{'A', 'B'}, "bA=0.5 d=1 ts=0.33 tv=0.66 pu=0.33 mGA=0.33 mTA=0.33 mCA=0.33 bG=0.166 bT=0.166 bC=0.166"},
    {{'T', 'A'}, "bT=0.5 d=1 tv=1 mAT=1 bA=0.5"},
    {{'T', 'C'}, "bT=0.5 d=1 ts=1 py=1 mCT=1 bC=0.5"},
    {{'T', 'G'}, "bT=0.5 d=1 tv=1 mGT=1 bG=0.5"},
    {{'T', 'R'}, "bT=0.5 d=1 tv=1 mAT=0.5 mGT=0.5 bA=0.25 bG=0.25"},
    {{'T', 'S'}, "bT=0.5 d=1 ts=0.5 tv=0.5 py=0.5 mGT=0.5 mCT=0.5 bG=0.25 bC=0.25"},
    {{'T', 'M'}, "bT=0.5 d=1 ts=0.5 tv=0.5 py=0.5 mAT=0.5 mCT=0.5 bC=0.25 bA=0.25"},
    {{'T', 'V'}, "bT=0.5 d=1 ts=0.33 tv=0.66 py=0.33 mAT=0.33 mCT=0.33 mGT=0.33 bC=0.166 bA=0.166 bG=0.166"},
    {{'C', 'T'}, "bC=0.5 d=1 ts=1 py=1 mTC=1 bT=0.5"},
    {{'C', 'A'}, "bC=0.5 d=1 tv=1 mAC=1 bA=0.5"},
    {{'C', 'G'}, "bC=0.5 d=1 tv=1 mGC=1 bG=0.5"},
    {{'C', 'R'}, "bC=0.5 d=1 tv=1 mAC=0.5 mGC=0.5 bA=0.25 bG=0.25"},
    {{'C', 'W'}, "bC=0.5 d=1 ts=0.5 tv=0.5 py=0.5 mTC=0.5 mAC=0.5 bA=0.25 bT=0.25"},
    {{'C', 'K'}, "bC=0.5 d=1 ts=0.5 tv=0.5 py=0.5 mTC=0.5 mGC=0.5 bT=0.25 bG=0.25"},
    {{'C', 'D'}, "bC=0.5 d=1 ts=0.33 tv=0.66 py=0.33 mTC=0.33 mAC=0.33 mGC=0.33 bA=0.166 bT=0.166 bG=0.166"},
    {{'G', 'T'}, "bG=0.5 d=1 tv=1 mTG=1 bT=0.5"},
    {{'G', 'C'}, "bG=0.5 d=1 tv=1 mCG=1 bC=0.5"},
    {{'G', 'A'}, "bG=0.5 d=1 ts=1 pu=1 mAG=1 bA=0.5"},
    {{'G', 'Y'}, "bG=0.5 d=1 tv=1 mTG=0.5 mCG=0.5 bT=0.25 bC=0.25"},
    {{'G', 'W'}, "bG=0.5 d=1 ts=0.5 tv=0.5 pu=0.5 mAG=0.5 mTG=0.5 bA=0.25 bT=0.25"},
    {{'G', 'M'}, "bG=0.5 d=1 ts=0.5 tv=0.5 pu=0.5 mAG=0.5 mCG=0.5 bA=0.25 bC=0.25"},
    {{'G', 'H'}, "bG=0.5 d=1 ts=0.33 tv=0.66 pu=0.33 mAG=0.33 mCG=0.33 mTG=0.33 bA=0.166 bC=0.166 bT=0.166"},
};

using Fields = std::map<std::string, double>;

// Fields by the names above, as text: zeros left out, 6 significant digits.
std::string Text(const Fields& fields) {
    std::ostringstream out;
    for (const auto& [name, value] : fields)
        if (value != 0) out << name << "=" << value << " ";
    return out.str();
}

std::string Written(const std::string& changes) {
    Fields fields;
    std::istringstream in(changes);
    for (std::string item; in >> item;) {
        const auto eq = item.find('=');
        fields[item.substr(0, eq)] += std::stod(item.substr(eq + 1));
    }
    return Text(fields);
}

std::string Counted(const PairCounts& c) {
    Fields fields{{"d", c.differences}, {"g", c.gaps}, {"ts", c.transitions}, {"tv", c.transversions},
                  {"pu", c.purineTransitions}, {"py", c.pyrimidineTransitions}, {"gc1", c.gcFirst},
                  {"gc2", c.gcSecond}};
    for (int x = 0; x < 4; ++x) {
        fields[std::string("b") + "ACGT"[x]] = c.base[x];
        for (int y = 0; y < 4; ++y) fields[std::string("m") + "ACGT"[x] + "ACGT"[y]] = c.pairMatrix[x][y];
    }
    return Text(fields);
}

PairCounts Compare(std::string first, std::string second, double length) {
    return CompareSites(AlignedPair{std::move(first), std::move(second), length, "", "", true, ""});
}

bool IsDefinite(char c) { return c == 'A' || c == 'C' || c == 'G' || c == 'T'; }

// Every pair of characters, 0 standing for an empty site entry (past the end of a shorter
// sequence). Outside the rules written out above: an identical site counts only on the diagonal
// of a definite base, a gap against anything else is a gap site, a definite base against any
// other character counts its half base, and any other first character changes nothing. A lower-case
// letter counts as its upper-case letter, and U (either case) as T.
TEST(CompareSites, EveryPairOfCharacters) {
    const auto upper = [](int c) {
        const char u = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        return u == 'U' ? 'T' : u;
    };
    for (int f = 0; f < 256; ++f) {
        for (int s = 0; s < 256; ++s) {
            const char first = upper(f), second = upper(s);
            std::string changes;
            if (const auto rule = kRules.find({first, second}); rule != kRules.end()) {
                changes = rule->second;
            } else if (first == second) {
                if (IsDefinite(first)) changes = std::string("m") + first + first + "=1";
            } else if (first == '-') {
                changes = "g=1 gc1=-1";
            } else if (IsDefinite(first)) {
                changes = second == '-' ? "g=1 gc2=-1" : std::string("b") + first + "=0.5";
            }
            if (first == 'C' || first == 'G') changes += " gc1=1";
            if (second == 'C' || second == 'G') changes += " gc2=1";
            const PairCounts got = Compare(f ? std::string(1, static_cast<char>(f)) : "",
                                           s ? std::string(1, static_cast<char>(s)) : "", 1);
            EXPECT_EQ(Written(changes), Counted(got)) << "first " << f << ", second " << s;
        }
    }
}

// The sites add up to the length and no further, the shorter sequence counting as empty past its
// end; the three-base code's decimal weights make 0.33 and 0.66, not thirds.
TEST(CompareSites, CountsAddUpOverTheSitesUpToLength) {
    const char* const ag = "bA=0.5 d=1 ts=1 pu=1 mGA=1 bG=0.5 gc2=1";  // A against G
    const struct {
        std::string first, second;
        double length;
        std::string changes;
    } cases[] = {
        {"ACGTAC-GAATCRGTC", "ACGTGCAG-BYNGA", 16,
         "d=3 g=2 ts=2.33 tv=0.66 pu=2.33 gc1=6 gc2=5 mAA=1 mCC=2 mGG=2 mTT=1 mGA=1.33 mTA=0.33 mCA=0.33 mAG=1 "
         "bA=1.5 bG=1.166 bT=1.166 bC=1.166"},
        {"AG", "GG", 0, ""},
        {"AG", "GG", -3, ""},
        {"AG-", "GC-", 1, ag},
        {"AG-", "GCA", 3, std::string(ag) + " d=1 tv=1 mCG=1 bG=0.5 bC=0.5 gc1=1 gc2=1 g=1 gc1=-1"},
        {"AC", "A", 2, "mAA=1 bC=0.5 gc1=1"},
        {"A", "", 1, "bA=0.5"},
        {"A-", "GT", 1e12, std::string(ag) + " g=1 gc1=-1"},
        {"AC", "GT", 1.5, ag},
        // Thousands of identical sites, then one that differs.
        {std::string(5000, 'G'), std::string(4999, 'G') + "C", 5000,
         "mGG=4999 gc1=5000 gc2=5000 d=1 tv=1 mCG=1 bG=0.5 bC=0.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Written(c.changes), Counted(Compare(c.first, c.second, c.length)))
            << c.first.substr(0, 20) << "/" << c.second.substr(0, 20) << " length " << c.length;
    }
}

}  // namespace
}  // namespace kadrel
