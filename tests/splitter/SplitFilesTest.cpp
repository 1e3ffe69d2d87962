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

// Every refusal leaves the folders exactly as they were: no file made, changed or followed.
TEST(SplitFiles, RefusesWithoutWritingAnything) {
    TempFolder temp;
    const fs::path input = temp.Write("input.txt", ">a\nAC\n>a\nGG\n>b\nTT\n");
    const fs::path self = temp.Write("self/set.fas", ">other\nAC\n>set\nGG\n");
    temp.Write("user/a_2.fas", "user data");
    temp.Write("user/b.fas", "user data");
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
        {{input}, temp / "user", (temp / "user/a_2.fas").string() + " already exists (and 1 more of the names"},
        {{input}, temp / "link", (temp / "link/a.fas").string() + refused},
        {{self}, self.parent_path(), self.string() + refused},
        {{input, missing}, out, "cannot read " + missing.string() + ": No such file or directory"},
        {{temp.Path()}, out, "cannot read " + temp.Path().string() + ": it is a folder, not a file"},
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
