#include "SplitCommandLine.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TempFolder.h"

namespace lutrane {
namespace {

namespace fs = std::filesystem;

struct RunOutcome {
    int status;
    std::string out;
    std::string err;
};

RunOutcome RunLutrane(std::vector<std::string> args) {
    args.insert(args.begin(), "lutrane");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int status = RunSplitCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

TEST(LutraneCommandLine, ExitStatusAndMessages) {
    TempFolder temp;
    const fs::path input = temp.path() / "two.txt";
    WriteBytes(input, ">a\nAC\n>b\nGT\n");
    const fs::path empty = temp.path() / "empty.txt";
    WriteBytes(empty, "no records here\n");
    const fs::path taken = temp.path() / "taken";
    WriteBytes(taken / "b.fas", "mine");
    const std::string out = (temp.path() / "out").string();

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string errHolds;
        std::string outHolds = "";
    };
    const std::vector<Case> cases = {
        {{"--version"}, 0, "", "lutrane "},
        {{"--help"}, 0, "", "-o,--output DIR"},
        {{"-o", out}, 2, "FASTA is required"},
        {{"--bogus", input.string()}, 2, "--bogus"},
        {{"-o", out, (temp.path() / "nope.fas").string()}, 2,
         "lutrane: cannot read " + (temp.path() / "nope.fas").string() + ": No such file or directory"},
        {{"-o", input.string(), input.string()}, 2, "lutrane: " + input.string() + " is not a folder"},
        {{"-o", taken.string(), input.string()}, 2, (taken / "b.fas").string() + " already exists"},
        {{"-o", out, empty.string()}, 0, "lutrane: " + empty.string() + " holds no \">\""},
        {{"-o", out, input.string()}, 0, "2 files written to " + out + "\n"},
    };
    for (const Case& c : cases) {
        const RunOutcome run = RunLutrane(c.args);
        const std::string shown = c.args.front() + " " + c.args.back();
        EXPECT_EQ(run.status, c.status) << shown << "\n" << run.err;
        EXPECT_NE(run.err.find(c.errHolds), std::string::npos) << shown << "\n" << run.err;
        EXPECT_NE(run.out.find(c.outHolds), std::string::npos) << shown << "\n" << run.out;
    }
    EXPECT_EQ(FilesUnder(out), (std::map<std::string, std::string>{{"a.fas", ">a\nAC\n"}, {"b.fas", ">b\nGT\n"}}));
    EXPECT_EQ(ReadBytes(taken / "b.fas"), "mine");
    EXPECT_FALSE(fs::exists(taken / "a.fas"));
}

TEST(LutraneCommandLine, WritesIntoTheCurrentFolderByDefault) {
    TempFolder temp;
    WriteBytes(temp.path() / "in.txt", ">x y\nAC\n");
    const fs::path before = fs::current_path();
    fs::current_path(temp.path());
    const RunOutcome run = RunLutrane({"in.txt"});
    fs::current_path(before);

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "1 files written to " + fs::canonical(temp.path()).string() + "\n");
    EXPECT_EQ(ReadBytes(temp.path() / "x y.fas"), ">x y\nAC\n");
}

}  // namespace
}  // namespace lutrane
