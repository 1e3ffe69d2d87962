#include <gtest/gtest.h>

#include <string>

#include "calc/RecordChecks.h"

namespace kadrel {
namespace {

// Unknown residues are counted and shown, unprintable ones by code; what the aligner leaves out
// (blanks, - . * ~ #) is no site. A record without '>' or without any base cannot be compared.
TEST(RecordChecks, ProblemsAndUnknownCharacters) {
    const std::string other = " characters other than bases, ambiguity codes and gaps (";
    const struct {
        std::string text, problem, note;
    } cases[] = {
        {">a\nAC GT\r\nRYKMBDHVSW-.*~#acgtrykmbdhvsw\n", "", ""},
        {">a\nACnN?N\n", "", "4 sites hold" + other + "? N n); they count as identical sites"},
        {">a\nAC\x01G7\xC3\n", "", "3 sites hold" + other + "\\x01 7 \\xC3); they count as identical sites"},
        {">a b\r\nACGU\r\nuuE\r\n", "", "1 site holds" + other + "E); they count as identical sites"},
        {">rna\nUUuu\n", "", ""},  // U reads as T
        {">a\nRYNNk-\n", "holds no A, C, G or T", ""},
        {"ACGT\n", "holds no '>' (it is not a FASTA record)", ""},
    };
    for (const auto& c : cases) {
        const RecordCheck check = CheckRecordText(c.text);
        EXPECT_EQ(check.problem.value_or(""), c.problem) << c.text;
        EXPECT_EQ(check.note.value_or(""), c.note) << c.text;
    }
    // The published forms compare only definite bases, and say so.
    EXPECT_EQ(CheckRecordText(">a\nACnN\n", true).note.value_or(""),
              "2 sites hold" + other + "N n); the published forms leave them out");
}

}  // namespace
}  // namespace kadrel
