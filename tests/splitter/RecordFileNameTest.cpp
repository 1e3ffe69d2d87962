#include "RecordFileName.h"

#include <gtest/gtest.h>

namespace lutrane {
namespace {

// The split table already covers /, \, :, ../, control characters and empty or dot-only names.
TEST(SafeStem, ReplacesOnlyWhatIsUnsafe) {
    struct Case {
        std::string name;
        std::size_t recordNumber;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"  \xC3\x84gypten COI, partial  ", 1, "  \xC3\x84gypten COI, partial  "},
        {"*?\"<>|", 1, "______"},
        {std::string("a\0b\tc\x7F\n", 7), 1, "a_b_c__"},
        {"./", 1, "__"},
        {".hidden", 1, "_hidden"},
        {"a.b..", 1, "a.b.."},
        {"....", 7, "record_7"},
    };
    for (const Case& c : cases) EXPECT_EQ(SafeStem(c.name, c.recordNumber), c.expected) << "name \"" << c.name << "\"";
}

TEST(SafeStem, LongNamesFitAFileNameWithoutSplittingCharacters) {
    EXPECT_EQ(SafeStem(std::string(300, 'a'), 1), std::string(kMaxStemBytes, 'a'));

    std::string wide;  // two-byte characters, so an odd limit falls inside one
    for (int i = 0; i < 200; ++i) wide += "\xC3\xA9";
    const std::string stem = SafeStem(wide, 1);
    EXPECT_LE(stem.size(), kMaxStemBytes);
    EXPECT_EQ(stem.size() % 2, 0U);
    EXPECT_EQ(stem, wide.substr(0, stem.size()));
}

TEST(StemRegistry, RepeatedStemsGetTheNextFreeSuffix) {
    const std::string longStem(kMaxStemBytes, 'x');  // a suffix must not push it past the limit
    const std::vector<std::pair<std::string, std::string>> claims = {
        {"a", "a"}, {"a", "a_2"}, {"b", "b"}, {"a", "a_3"}, {"a_2", "a_2_2"}, {"b", "b_2"}, {"a", "a_4"},
        {"c_2", "c_2"}, {"c", "c"}, {"c", "c_3"},  // a suffix already in use is skipped
        {longStem, longStem}, {longStem, longStem.substr(0, kMaxStemBytes - 2) + "_2"},
    };
    StemRegistry registry;
    for (const auto& [stem, expected] : claims) EXPECT_EQ(registry.Claim(stem), expected) << stem;
}

}  // namespace
}  // namespace lutrane
