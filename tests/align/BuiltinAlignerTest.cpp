#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "align/builtin/BuiltinAligner.h"

namespace kadrel {
namespace {

// Each expected alignment was worked out by hand and is the only optimal one (mismatch 3, gap
// 5 + 2 per site) before the ragged-edge rule moves edge residues out of a terminal gap.
TEST(BuiltinAligner, AlignsSmallPairsExactly) {
    struct Case {
        const char* what;
        std::string first, second;        // record texts
        std::string aligned1, aligned2;
    };
    const std::vector<Case> cases = {
        {"identical", ">a\nACGTACGTAC\n", ">b\nACGTACGTAC\n", "ACGTACGTAC", "ACGTACGTAC"},
        {"one substitution", ">a\r\nACGTACGTAC\r\n", ">b\r\nACGTTCGTAC\r\n", "ACGTACGTAC", "ACGTTCGTAC"},
        {"one site missing inside", "ACGTACGTAC", "ACGTCGTAC", "ACGTACGTAC", "ACGT-CGTAC"},
        {"one site missing inside the first", "ACGTCGTAC", "ACGTACGTAC", "ACGT-CGTAC", "ACGTACGTAC"},
        // Ragged edges: the edge residue stands in the outermost column, the gap just inside.
        {"ragged start of the second", "TTACGTACGTAC", "ACGTACGTAC", "TTACGTACGTAC", "A--CGTACGTAC"},
        {"ragged start of the first", "CGTACGTAC", "ACGTACGTAC", "C-GTACGTAC", "ACGTACGTAC"},
        {"two matching edge residues both go out", "ACACGTACGTAC", "ACGTACGTAC", "ACACGTACGTAC", "AC--GTACGTAC"},
        {"the second at one more mismatch", "ATACGTACGTAC", "ACGTACGTAC", "ATACGTACGTAC", "AC--GTACGTAC"},
        {"never a third", "GGCTGCGAGTTG", "TGCGAGTTG", "GGCTGCGAGTTG", "TG---CGAGTTG"},
        {"ragged end", "ACGTACGTACGG", "ACGTACGTAC", "ACGTACGTACGG", "ACGTACGTA--C"},
        // Two out would leave A against A, as at the start; at the end only the last goes.
        {"at the end only one goes out", "ACGTACGTACAG", "ACGTACGTAC", "ACGTACGTACAG", "ACGTACGTA--C"},
        {"a lone residue stays at the start", "ACCCC", "A", "ACCCC", "A----"},
        // Scoring ignores case; the text keeps it.
        {"lower case", ">a\nacgtacgtac\n", ">b\nACGTCGTAC\n", "acgtacgtac", "ACGT-CGTAC"},
        // Were N or R/Y to match themselves, two gaps would put them together (cost 42 < 48).
        {"N matches nothing", "ACGTACGTNNNNNNNN", "NNNNNNNNTGCATGCA", "ACGTACGTNNNNNNNN", "NNNNNNNNTGCATGCA"},
        {"ambiguity codes match nothing", "ACGTACGTRYRYRYRY", "RYRYRYRYTGCATGCA", "ACGTACGTRYRYRYRY",
         "RYRYRYRYTGCATGCA"},
        {"a digit is a residue", "AC1GT", "ACAGT", "AC1GT", "ACAGT"},
        // Read as t_coffee reads a sequence: line ends, blanks and # * - . ~ are not residues.
        {"sequence lines", ">x y\r\nAC GT\r\n-a.c*g#t~\r\n\r\n", ">y\rACGT\rACGT\r", "ACGTacgt", "ACGTACGT"},
        // About 25% apart: the dynamic programme aligns it.
        {"divergent", "GTAGGATACGGCGGAGGGCACGTCAATACGGTTCAATGCCCTACTGCATGCTCTTGTGGT",
         "GTAGGGTTCTGTGGAGGGCACATCGGTACGCGATGCCTTACTGCATGTTATCGTTGT",
         "GTAGGATACGGCGGAGGGCACGTCAATACGGTTCAATGCCCTACTGCATGCTCTTGTGGT",
         "GTAGGGTTCTGTGGAGGGCACATCGGTACG---CGATGCCTTACTGCATGTTATCGTTGT"},
    };
    BuiltinAligner aligner;
    for (const auto& c : cases) {
        const AlignedPair pair = aligner.Align(c.first, c.second, "0_0", {});
        ASSERT_TRUE(pair.usable) << c.what << ": " << pair.failure;
        EXPECT_EQ(pair.first, c.aligned1) << c.what;
        EXPECT_EQ(pair.second, c.aligned2) << c.what;
        EXPECT_EQ(pair.length, static_cast<double>(c.aligned1.size())) << c.what;
    }
}

TEST(BuiltinAligner, AnEmptySequenceOrAStopFailsThePair) {
    BuiltinAligner aligner;
    std::stop_source stop;
    stop.request_stop();
    const std::pair<AlignedPair, std::string> cases[] = {
        {aligner.Align(">a\n--..\n", ">b\nACGT\n", "0_0", {}), "the first sequence is empty"},
        {aligner.Align(">a\nACGT\n", ">b\n", "0_0", {}), "the second sequence is empty"},
        {aligner.Align(">a\nACGT\n", ">b\nACGT\n", "0_0", stop.get_token()), "stopped"},
    };
    for (const auto& [pair, failure] : cases) {
        EXPECT_FALSE(pair.usable) << failure;
        EXPECT_EQ(pair.failure, failure);
        EXPECT_EQ(pair.first + pair.second, "") << failure;
    }
}

}  // namespace
}  // namespace kadrel
