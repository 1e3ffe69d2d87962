#include <gtest/gtest.h>
#include <stdlib.h>

#include <set>
#include <system_error>

#include "TempFolder.h"
#include "align/tcoffee/ShellX.h"
#include "align/tcoffee/TCoffeeAligner.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

TEST(ShellX, ReturnsTheRealExitStatusUnderTheGivenEnvironment) {
    setenv("KADREL_SHELLX_PROBE", "inherited", 1);
    struct Case {
        std::string script;
        std::vector<std::string> environment;  // added over the inherited one
        int status;
    };
    const std::vector<Case> cases = {
        {"exit 0", {}, 0}, {"exit 7", {}, 7}, {"exit 259", {}, 3}, {"kill -9 $$", {}, 128 + 9},
        {"echo noise; echo more >&2", {}, 0},
        {"test \"$KADREL_SHELLX_PROBE\" = inherited", {}, 0},
        {"test \"$KADREL_SHELLX_PROBE\" = mine", {"KADREL_SHELLX_PROBE=mine"}, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ShellX({"/bin/sh", "-c", c.script}, c.environment, {}), c.status) << c.script;
    EXPECT_THROW(ShellX({"/no/such/program"}, {}, {}), std::system_error);
}

// The pair's files live in a private folder under the given root (whose name needs quoting in a
// shell); only the pair's own files are deleted after it, and the folder goes with the aligner.
TEST(TCoffeeAligner, WorksInAPrivateFolderAndDeletesOnlyThePairsOwnFiles) {
    const test::TempFolder scratch;
    const auto root = scratch / "temp dir's $HOME";
    fs::create_directories(root);
    {
        TCoffeeAligner aligner(root);
        const AlignedPair pair = aligner.Align(">first one\r\nACGTAC\r\n", ">second\nACGAACGT\n", "3_12", {});
        ASSERT_TRUE(pair.usable) << pair.failure;
        EXPECT_EQ(pair.first + " " + pair.second, "ACGTAC-- ACGAACGT");
        const fs::path folder = fs::directory_iterator(root)->path();
        EXPECT_TRUE(fs::is_empty(folder)) << "pair files left behind";

        // Files that look like work files of other pairs, or of this pair under another name.
        const std::set<std::string> planted = {"0_1.fas", "0_1.aln", "0_10.fas", "x.dnd", "1_0.txt", "1_0.fas.keep"};
        for (const auto& name : planted) std::ofstream(folder / name) << "keep";
        ASSERT_TRUE(aligner.Align(">a\nACGT\n", ">b\nACGA\n", "1_0", {}).usable);
        std::set<std::string> left;
        for (const auto& entry : fs::directory_iterator(folder)) left.insert(entry.path().filename().string());
        EXPECT_EQ(left, planted);
    }
    EXPECT_TRUE(fs::is_empty(root)) << "the work folder outlives its aligner";
}

}  // namespace
}  // namespace kadrel
