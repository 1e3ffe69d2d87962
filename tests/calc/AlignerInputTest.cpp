#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "align/AlignerInput.h"

namespace kadrel {
namespace {

// A record fit for the aligner goes under a neutral name with its sequence lines unchanged, in
// either place of the pair; one that is not says why.
TEST(AlignerInput, RecordsGoUnderNeutralNamesOrSayWhyTheyCannot) {
    struct Case {
        std::string text;
        std::optional<std::string> problem;
        std::string lines;  // what the aligner gets of it
    };
    const std::vector<Case> cases = {
        {">one x\r\nACGT\r\nGG\r\n", std::nullopt, "ACGT\r\nGG\r\n"},
        {">a\nAC\n", std::nullopt, "AC\n"},
        {">b\rTT\r", std::nullopt, "TT\r"},
        {"ACGT\nAA", std::nullopt, "ACGT\nAA"},  // a text without header is all sequence
        {"\r\n>a\r\nAC", std::nullopt, "AC"},    // blank lines before the header
        {">a\nAC\n>b\nGT\n", "holds more than one record", ""},
        {"AC\n>b\nGT\n", "holds more than one record", ""},
        {">a\n", "holds no sequence", ""},
        {">a", "holds no sequence", ""},
        {">a\r\n  \r\n", "holds no sequence", ""},
        {"", "holds no sequence", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecordTextProblem(c.text), c.problem) << c.text;
        if (c.problem) continue;
        EXPECT_EQ(ComposeAlignerInput(c.text, ">x\nGG\n"), ">s1\r\n" + c.lines + "\r\n>s2\r\nGG\n\r\n") << c.text;
        EXPECT_EQ(ComposeAlignerInput(">x\nGG\n", c.text), ">s1\r\nGG\n\r\n>s2\r\n" + c.lines + "\r\n") << c.text;
    }
}

}  // namespace
}  // namespace kadrel
