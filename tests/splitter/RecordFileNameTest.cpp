#include "RecordFileName.h"

#include <gtest/gtest.h>

namespace lutrane {
namespace {

// lutrane.txt already shows /, \, :, ../, control characters and empty or dot-only names.
// Long names are cut to fit a file name, never inside a character.
TEST(SafeStem, ReplacesOnlyWhatIsUnsafe) {
    std::string wide;  // two-byte characters, so the odd limit falls inside one
    for (int i = 0; i < 200; ++i) wide += "\xC3\xA9";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"  \xC3\x84gypten COI, partial  ", "  \xC3\x84gypten COI, partial  "},
        {"*?\"<>|", "______"}, {std::string("a\0b\tc\x7F\n", 7), "a_b_c__"}, {"./", "__"},
        {".hidden", "_hidden"}, {"a.b..", "a.b.."}, {"....", "record_7"}, {"  \t ", "record_7"},
        {std::string(300, 'a'), std::string(kMaxStemBytes, 'a')}, {wide, wide.substr(0, kMaxStemBytes - 1)},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(SafeStem(name, 7), expected) << "name \"" << name << "\"";
}

TEST(PlanStems, RepeatedStemsTakeNoOtherRecordsName) {
    const std::string longStem(kMaxStemBytes, 'x');  // a suffix must not push it past the limit
    const std::vector<std::pair<std::string, std::string>> plan = {
        {"a", "a"}, {"a", "a_3"}, {"b", "b"}, {"a", "a_4"}, {"a_2", "a_2"}, {"b", "b_2"}, {"a_2", "a_2_2"},
        {"c", "c"}, {"c", "c_2"}, {longStem, longStem}, {longStem, longStem.substr(0, kMaxStemBytes - 2) + "_2"},
    };
    std::vector<std::string> wanted, expected;
    for (const auto& [stem, given] : plan) wanted.push_back(stem), expected.push_back(given);
    EXPECT_EQ(PlanStems(wanted), expected);
}

}  // namespace
}  // namespace lutrane
