#include "RecordFileName.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lutrane {
namespace {

struct StemCase {
    std::string name;
    std::size_t recordNumber;
    std::string expected;
};

TEST(SafeStem, ReplacesOnlyWhatIsUnsafe) {
    const std::vector<StemCase> cases = {
        {"abc x", 1, "abc x"},
        {"  Homo sapiens COI, partial  ", 1, "  Homo sapiens COI, partial  "},
        {"\xC3\x84gypten-1", 1, "\xC3\x84gypten-1"},
        {"a/b", 1, "a_b"},
        {"a\\b", 1, "a_b"},
        {"C:x", 1, "C_x"},
        {"*?\"<>|", 1, "______"},
        {"../../x", 1, "_._.._x"},
        {"/etc/passwd", 1, "_etc_passwd"},
        {"a\tb\x01" "c\x7F", 1, "a_b_c_"},
        {".hidden", 1, "_hidden"},
        {"a.b..", 1, "a.b.."},
        {"", 3, "record_3"},
        {".", 1, "record_1"},
        {"..", 2, "record_2"},
        {"....", 7, "record_7"},
        {"record_1", 5, "record_1"},
    };
    for (const StemCase& c : cases) {
        EXPECT_EQ(SafeStem(c.name, c.recordNumber), c.expected) << "name \"" << c.name << "\"";
    }
}

TEST(SafeStem, NoNameLeavesTheFolder) {
    const std::filesystem::path folder = "/data/out";
    const std::vector<std::string> names = {"..", "../..", "../../x", "a/../../b", "/", "//", "\\..\\..\\x", ". .",
                                            std::string("a\0b", 3), "\n", "~", "x/.", "./"};
    for (const std::string& name : names) {
        const std::string stem = SafeStem(name, 1);
        const std::filesystem::path file = (folder / (stem + ".fas")).lexically_normal();
        EXPECT_EQ(file.parent_path(), folder) << "name \"" << name << "\" gives " << file;
        EXPECT_EQ(stem.find_first_of(std::string("/\\\0", 3)), std::string::npos) << stem;
        EXPECT_NE(stem.front(), '.') << stem;
    }
}

TEST(SafeStem, LongNamesFitAFileNameWithoutSplittingCharacters) {
    const std::string ascii(300, 'a');
    EXPECT_EQ(SafeStem(ascii, 1), std::string(kMaxStemBytes, 'a'));

    std::string wide;  // two-byte characters, so an odd limit falls inside one
    for (int i = 0; i < 200; ++i) wide += "\xC3\xA9";
    const std::string stem = SafeStem(wide, 1);
    EXPECT_LE(stem.size(), kMaxStemBytes);
    EXPECT_EQ(stem.size() % 2, 0U);
    EXPECT_EQ(stem, wide.substr(0, stem.size()));
}

TEST(StemRegistry, RepeatedStemsGetNumberedSuffixes) {
    StemRegistry registry;
    const std::vector<std::pair<std::string, std::string>> claims = {
        {"a", "a"}, {"a", "a_2"}, {"b", "b"}, {"a", "a_3"}, {"a_2", "a_2_2"}, {"b", "b_2"}, {"a", "a_4"},
    };
    for (const auto& [stem, expected] : claims) EXPECT_EQ(registry.Claim(stem), expected) << stem;

    // A suffix never pushes a name past the limit, and still keeps names apart.
    const std::string longStem(kMaxStemBytes, 'x');
    EXPECT_EQ(registry.Claim(longStem), longStem);
    const std::string second = registry.Claim(longStem);
    EXPECT_EQ(second.size(), kMaxStemBytes);
    EXPECT_EQ(second.substr(second.size() - 2), "_2");
}

}  // namespace
}  // namespace lutrane
