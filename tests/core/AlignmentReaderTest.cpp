#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "align/AlignmentReader.h"

namespace kadrel {
namespace {

std::string WithLineEnds(std::string text, const std::string& end) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += end;
        else out += c;
    }
    return out;
}

const std::string kTwoBlocks =
    "CLUSTAL FORMAT for T-COFFEE Version_13 [MODE:  ], CPU=0.00 sec, SCORE=96, Nseq=2, Len=12 \n"
    "\n"
    "s1              ACGTAC\n"
    "s2              ACG-AC\n"
    "                *** **\n"
    "\n"
    "s1              GGTTaN\n"
    "s2              GGTTAC\n"
    "                ****  \n"
    "\n"
    "\n";

TEST(ReadAlignedPair, AnyLineEndReadsTheSame) {
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        const AlignedPair pair = ReadAlignedPair(WithLineEnds(kTwoBlocks, end));
        EXPECT_TRUE(pair.usable) << pair.failure;
        EXPECT_EQ(pair.length, 12);
        EXPECT_EQ(pair.first, "ACGTACGGTTaN");  // case and characters stay as written
        EXPECT_EQ(pair.second, "ACG-ACGGTTAC");
        EXPECT_EQ(pair.firstLabel, "s1");
        EXPECT_EQ(pair.secondLabel, "s2");
    }
}

std::string Aln(const std::string& header, const std::string& line1, const std::string& line2) {
    return header + "\r\n\r\n" + line1 + "\r\n" + line2 + "\r\n    \r\n\r\n";
}

TEST(ReadAlignedPair, HeaderAndBlockVariants) {
    struct Case {
        const char* what;
        std::string text;
        bool usable;
        double length;
        std::string first;
    };
    const Case cases[] = {
        {"several blanks before the piece", Aln("x Len=4", "name     ACGT", "n   ACGA"), true, 4, "ACGT"},
        {"blank after Len=", Aln("Len= 4", "s1 ACGT", "s2 ACGA"), true, 4, "ACGT"},
        {"text after the number", Aln("Nseq=2, Len=4, SCORE=3", "s1 ACGT", "s2 ACGA"), true, 4, "ACGT"},
        {"two Len= take the first", Aln("Len=4 Len=9", "s1 ACGT", "s2 ACGA"), true, 4, "ACGT"},
        {"no Len=", Aln("CLUSTAL len=4", "s1 ACGT", "s2 ACGA"), false, 0, "ACGT"},
        {"Len= without number", Aln("Len=abc", "s1 ACGT", "s2 ACGA"), false, 0, "ACGT"},
        {"trailing blank gives an empty piece", Aln("Len=4", "s1 ACGT ", "s2 ACGA"), false, 4, ""},
        {"short second sequence", Aln("Len=4", "s1 ACGT", "s2 ACG"), false, 4, "ACGT"},
        {"header longer than the sequences", Aln("Len=5", "s1 ACGT", "s2 ACGA"), false, 5, "ACGT"},
        {"empty output", "", false, 0, ""},
        {"no block", "Len=0\r\n", true, 0, ""},
    };
    for (const Case& c : cases) {
        const AlignedPair pair = ReadAlignedPair(c.text);
        EXPECT_EQ(pair.usable, c.usable) << c.what << ": " << pair.failure;
        EXPECT_EQ(pair.length, c.length) << c.what;
        EXPECT_EQ(pair.first, c.first) << c.what;
        EXPECT_EQ(pair.usable, pair.failure.empty()) << c.what;
    }
}

TEST(LeadingNumber, ReadsLikeTheHeaderIsWritten) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"100", 100},  {" 100 ", 100},   {"1 2 3", 123},  {"\t\n42,", 42},   {"12.5x", 12.5},
        {"1.2.3", 1.2}, {"abc", 0},      {"", 0},         {"-7", -7},        {"3e2", 300},
        {"3e", 3},     {"0012", 12},
    };
    for (const Case& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << "'" << c.text << "'";
}

// Alignments written by the real t_coffee for the bundled examples.
TEST(ReadAlignedPair, ReadsTheAlignersOwnOutput) {
    for (const char* name : {"pair_0_1.aln", "pair_0_2.aln", "pair_1_2.aln"}) {
        std::ifstream in(std::string(KADREL_EXAMPLES_DIR) + "/alignments/" + name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        std::ostringstream text;
        text << in.rdbuf();
        const AlignedPair pair = ReadAlignedPair(text.str());
        EXPECT_TRUE(pair.usable) << name << ": " << pair.failure;
        EXPECT_EQ(pair.length, 320) << name;
        EXPECT_EQ(pair.firstLabel, "s1");
        EXPECT_EQ(pair.secondLabel, "s2");
        EXPECT_EQ(pair.first.find_first_not_of("ACGTRYN-"), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace kadrel
