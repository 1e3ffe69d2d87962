#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "align/AlignerInput.h"

namespace kadrel {
namespace {

TEST(AlignerInput, RecordsGoUnderNeutralNamesWithTheirLinesUnchanged) {
    struct Case {
        const char* what;
        std::string first, second, input;
    };
    const std::vector<Case> cases = {
        {"CR LF records", ">one x\r\nACGT\r\nGG\r\n", ">two\r\nTTAA\r\n",
         ">s1\r\nACGT\r\nGG\r\n\r\n>s2\r\nTTAA\r\n\r\n"},
        {"same names", ">a\nAC\n", ">a\nAG\n", ">s1\r\nAC\n\r\n>s2\r\nAG\n\r\n"},
        {"a text without header is all sequence", "ACGT\nAA", ">b\rTT\r", ">s1\r\nACGT\nAA\r\n>s2\r\nTT\r\r\n"},
        {"blank lines before the header", "\r\n>a\r\nAC", ">b\r\nGG", ">s1\r\nAC\r\n>s2\r\nGG\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(ComposeAlignerInput(c.first, c.second), c.input) << c.what;
}

TEST(AlignerInput, RecordsThatCannotBeOneSequence) {
    struct Case {
        std::string text;
        std::optional<std::string> problem;
    };
    const std::vector<Case> cases = {
        {">a\nACGT\n", std::nullopt},
        {"ACGT\n", std::nullopt},
        {"\n>a\nACGT\n", std::nullopt},
        {">a\nAC\n>b\nGT\n", "holds more than one record"},
        {"AC\n>b\nGT\n", "holds more than one record"},
        {">a\n", "holds no sequence"},
        {">a", "holds no sequence"},
        {">a\r\n  \r\n", "holds no sequence"},
        {"", "holds no sequence"},
    };
    for (const auto& c : cases) EXPECT_EQ(RecordTextProblem(c.text), c.problem) << c.text;
}

}  // namespace
}  // namespace kadrel
