#include "SplitRun.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace lutrane {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using kadrel::test::FilesUnder;
using kadrel::test::TempFolder;

TEST(SplitFiles, WritesEveryRecordWholeUnderASafeName) {
    struct Case {
        const char* what;
        std::vector<std::string> inputs;
        Files expected;  // every file that must be in the output folder, and nothing else
    };
    const std::vector<Case> cases = {
        {"text before the first mark is ignored; several sequence lines are written whole",
         {"; made by hand\r\n>abc x\r\nACGT\r\nGGCC\r\n"},
         {{"abc x.fas", ">abc x\r\nACGT\r\nGGCC\r\n"}}},
        {"the same name twice gives two files",
         {">a\nAC\n>a\nGT\n>a\nTT\n"},
         {{"a.fas", ">a\nAC\n"}, {"a_2.fas", ">a\nGT\n"}, {"a_3.fas", ">a\nTT\n"}}},
        {"records of several inputs share one set of names",
         {">a\nAC\n>\nGG\n", ">a\nTT\n>b\nCC\n>\nAA\n"},
         {{"a.fas", ">a\nAC\n"}, {"record_2.fas", ">\nGG\n"}, {"a_2.fas", ">a\nTT\n"}, {"b.fas", ">b\nCC\n"},
          {"record_3.fas", ">\nAA\n"}}},
        {"unsafe names stay inside the folder",
         {">../../x\nA\n>a/b\nC\n>a\\b\nG\n>C:d\nT\n>\x01\x1b[2J\nA\n>\nC\n>..\nG\n>.\nT\n"},
         {{"_._.._x.fas", ">../../x\nA\n"}, {"a_b.fas", ">a/b\nC\n"}, {"a_b_2.fas", ">a\\b\nG\n"},
          {"C_d.fas", ">C:d\nT\n"}, {"__[2J.fas", ">\x01\x1b[2J\nA\n"}, {"record_6.fas", ">\nC\n"},
          {"record_7.fas", ">..\nG\n"}, {"record_8.fas", ">.\nT\n"}}},
        {"CR LF line ends", {">a\r\nAC\r\n>b\r\nGT\r\n"}, {{"a.fas", ">a\r\nAC\r\n"}, {"b.fas", ">b\r\nGT\r\n"}}},
        {"LF line ends", {">a\nAC\n>b\nGT\n"}, {{"a.fas", ">a\nAC\n"}, {"b.fas", ">b\nGT\n"}}},
        {"lone CR line ends", {">a\rAC\r>b\rGT\r"}, {{"a.fas", ">a\rAC\r"}, {"b.fas", ">b\rGT\r"}}},
        {"a mark inside a header cuts the record there",
         {">abc x>desc\r\nACGT\r\n"},
         {{"abc x.fas", ">abc x"}, {"desc.fas", ">desc\r\nACGT\r\n"}}},
        {"a name line followed by an empty line", {">abc\r\n\r\nACGT\r\n"}, {{"abc.fas", ">abc\r\n\r\nACGT\r\n"}}},
        {"mixed line ends; blanks of a name are kept; no line end at the end",
         {"x\n>a\rAC\r\n> b\tc \nGT\r>>\r\nTT"},
         {{"a.fas", ">a\rAC\r\n"}, {" b_c .fas", "> b\tc \nGT\r"}, {"record_3.fas", ">"}, {"record_4.fas", ">\r\nTT"}}},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        std::vector<fs::path> inputs;
        for (const std::string& text : c.inputs) inputs.push_back(temp.Write(std::to_string(inputs.size()), text));
        const fs::path output = temp / "a/b/out";  // made on the way

        const SplitResult result = SplitFiles(inputs, output);

        EXPECT_EQ(result.error, "") << c.what;
        EXPECT_EQ(result.filesWritten, c.expected.size()) << c.what;
        EXPECT_EQ(result.folder, output) << c.what;
        EXPECT_EQ(FilesUnder(output), c.expected) << c.what;
        EXPECT_EQ(fs::exists(output), !c.expected.empty()) << c.what;
        // Nothing landed anywhere else, and no temporary file was left behind.
        EXPECT_EQ(FilesUnder(temp.Path()).size(), c.expected.size() + c.inputs.size()) << c.what;
        EXPECT_EQ(result.notes.size(), c.expected.empty() ? 1U : 0U) << c.what;
    }
}

// Every refusal leaves the folders exactly as they were: no file made, changed or followed.
TEST(SplitFiles, RefusesWithoutWritingAnything) {
    TempFolder temp;
    const fs::path input = temp.Write("input.txt", ">a\nAC\n>a\nGG\n>b\nTT\n");
    const fs::path self = temp.Write("self/set.fas", ">other\nAC\n>set\nGG\n");
    temp.Write("user/b.fas", "user data");
    temp.Write("repeat/a_2.fas", "user data");
    fs::create_directory(temp / "link");
    fs::create_symlink(temp / "link/elsewhere", temp / "link/a.fas");
    const fs::path plain = temp.Write("plain", "not a folder");
    const fs::path locked = temp / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const fs::path out = temp / "out", missing = temp / "missing.fas";

    struct Case {
        std::vector<fs::path> inputs;
        fs::path output;
        std::string errorHolds;
    };
    const std::string refused = " already exists; nothing was written";
    std::vector<Case> cases = {
        {{input}, temp / "user", (temp / "user/b.fas").string() + refused},
        {{input}, temp / "repeat", (temp / "repeat/a_2.fas").string() + refused},
        {{input}, temp / "link", (temp / "link/a.fas").string() + refused},
        {{self}, self.parent_path(), self.string() + refused},
        {{input, missing}, out, "cannot read " + missing.string() + ": No such file or directory"},
        {{temp.Path()}, out, "cannot read " + temp.Path().string() + ": it is a folder, not a file"},
        {{input}, plain, plain.string() + " is not a folder"},
        {{input}, plain / "sub", "cannot make the folder " + (plain / "sub").string()},
    };
    // Permissions do not bind the superuser.
    if (::geteuid() != 0) cases.push_back({{input}, locked, "cannot write to the folder " + locked.string()});
    for (const Case& c : cases) {
        const Files before = FilesUnder(temp.Path());
        const bool outputExisted = fs::exists(c.output);

        const SplitResult result = SplitFiles(c.inputs, c.output);

        EXPECT_NE(result.error.find(c.errorHolds), std::string::npos) << result.error;
        EXPECT_EQ(result.filesWritten, 0U) << c.errorHolds;
        EXPECT_EQ(FilesUnder(temp.Path()), before) << c.errorHolds;
        EXPECT_EQ(fs::exists(c.output), outputExisted) << c.errorHolds;
    }
}

}  // namespace
}  // namespace lutrane
