#include <gtest/gtest.h>

#include <string>

#include "align/AlignmentReader.h"

namespace kadrel {
namespace {

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

std::string WithLineEnds(std::string text, const std::string& end) {
    for (auto at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + end.size()))
        text.replace(at, 1, end);
    return text;
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
        std::string sequences;  // first/second, case and characters as written
        bool otherProgram = false;  // CLUSTAL without "Len=": usable only from a user's file
    };
    const Case cases[] = {
        {"two blocks, LF", kTwoBlocks, true, 12, "ACGTACGGTTaN/ACG-ACGGTTAC"},
        {"two blocks, CR LF", WithLineEnds(kTwoBlocks, "\r\n"), true, 12, "ACGTACGGTTaN/ACG-ACGGTTAC"},
        {"two blocks, CR", WithLineEnds(kTwoBlocks, "\r"), true, 12, "ACGTACGGTTaN/ACG-ACGGTTAC"},
        {"several blanks before the piece", Aln("x Len=4", "name     ACGT", "n   ACGA"), true, 4, "ACGT/ACGA"},
        {"blank after Len=", Aln("Len= 4", "s1 ACGT", "s2 ACGA"), true, 4, "ACGT/ACGA"},
        {"text after the number", Aln("Nseq=2, Len=4, SCORE=3", "s1 ACGT", "s2 ACGA"), true, 4, "ACGT/ACGA"},
        {"two Len= take the first", Aln("Len=4 Len=9", "s1 ACGT", "s2 ACGA"), true, 4, "ACGT/ACGA"},
        {"no Len=", Aln("Nseq=2 len=4", "s1 ACGT", "s2 ACGA"), false, 0, "ACGT/ACGA"},
        {"Len= without number", Aln("Len=abc", "s1 ACGT", "s2 ACGA"), false, 0, "ACGT/ACGA"},
        {"trailing blank gives an empty piece", Aln("Len=4", "s1 ACGT ", "s2 ACGA"), false, 4, "/ACGA"},
        {"short second sequence", Aln("Len=4", "s1 ACGT", "s2 ACG"), false, 4, "ACGT/ACG"},
        {"header longer than the sequences", Aln("Len=5", "s1 ACGT", "s2 ACGA"), false, 5, "ACGT/ACGA"},
        {"empty output", "", false, 0, "/"},
        {"no block", "Len=0\r\n", true, 0, "/"},
        // CLUSTAL of other programs: the length is the alignment's.
        {"ClustalW, counts and conservation", "CLUSTAL W (1.83) multiple sequence alignment\n\n\nseqA  ACGT 4\n"
                                              "seqB  AC-T 3\n      ** *\n\nseqA  Gg 6\nseqB  GA 5\n      * \n",
         true, 6, "ACGTGg/AC-TGA", true},
        {"Clustal Omega, one name twice", "CLUSTAL O(1.2.4) multiple sequence alignment\r\n\r\nx AC\r\nx AG\r\n",
         true, 2, "AC/AG", true},
        {"no blank line after the header", "CLUSTAL\na AC\nb AG\n", true, 2, "AC/AG", true},
        {"three sequences", "CLUSTAL\n\na AC\nb AC\nc AC\n", false, 0, "/"},
        {"a sequence only in a later block", "CLUSTAL\n\na AC\nb AC\n\na AC\nb AC\nc AC\n", false, 0, "/"},
        {"unequal sequences", "CLUSTAL\n\na ACG\nb AC\n", false, 0, "ACG/AC"},
        {"not name and sequence", "CLUSTAL\n\na AC x\nb AC\n", false, 0, "/"},
    };
    for (const Case& c : cases) {
        // t_coffee's output is read as ever: without "Len=" it is unusable.
        EXPECT_EQ(ReadAlignedPair(c.text).usable, c.usable && !c.otherProgram) << c.what;
        const AlignedPair pair = ReadAlignedPair(c.text, AlignmentSource::AnyClustal);
        EXPECT_EQ(pair.usable, c.usable) << c.what << ": " << pair.failure;
        EXPECT_EQ(pair.length, c.length) << c.what;
        EXPECT_EQ(pair.first + "/" + pair.second, c.sequences) << c.what;
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
        {"3e", 3},     {"0012", 12},     {"12|5", 12},    {"12e|5", 12},     {"3E2", 300},
        {"3D2", 300},  {"3d-1", 0.3},    {"3e+1", 30},
    };
    // "|" ends the text given; what follows it in memory must not be read.
    for (const Case& c : cases) {
        std::string memory = c.text;
        const std::size_t end = memory.find('|');
        if (end != std::string::npos) memory.erase(end, 1);
        EXPECT_EQ(LeadingNumber(std::string_view(memory).substr(0, end)), c.value) << "'" << c.text << "'";
    }
}

}  // namespace
}  // namespace kadrel
