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
    WriteBytes(temp.path() / "two.txt", ">a\nAC\n>b\nGT\n");
    WriteBytes(temp.path() / "empty.txt", "no records here\n");
    const fs::path before = fs::current_path();
    fs::current_path(temp.path());  // where -o points by default

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string errHolds;
        std::string outHolds = "";
    };
    const std::vector<Case> cases = {
        {{"--version"}, 0, "", "lutrane "},
        {{"--help"}, 0, "", "-o,--output DIR"},
        {{"-o", "out"}, 2, "FASTA is required"},
        {{"-o", "out", "nope.fas"}, 2, "lutrane: cannot read nope.fas: No such file or directory"},
        {{"-o", "two.txt", "two.txt"}, 2, "lutrane: two.txt is not a folder"},
        {{"-o", "out", "empty.txt"}, 0, "lutrane: empty.txt holds no \">\""},
    };
    for (const Case& c : cases) {
        const RunOutcome run = RunLutrane(c.args);
        const std::string shown = c.args.front() + " " + c.args.back();
        EXPECT_EQ(run.status, c.status) << shown << "\n" << run.err;
        EXPECT_NE(run.err.find(c.errHolds), std::string::npos) << shown << "\n" << run.err;
        EXPECT_NE(run.out.find(c.outHolds), std::string::npos) << shown << "\n" << run.out;
    }
    const RunOutcome split = RunLutrane({"two.txt"});
    fs::current_path(before);
    EXPECT_EQ(split.status, 0);
    EXPECT_EQ(split.err, "2 files written to " + fs::canonical(temp.path()).string() + "\n");
    EXPECT_EQ(FilesUnder(temp.path()), (std::map<std::string, std::string>{
        {"two.txt", ">a\nAC\n>b\nGT\n"}, {"empty.txt", "no records here\n"}, {"a.fas", ">a\nAC\n"}, {"b.fas", ">b\nGT\n"}}));
}

}  // namespace
}  // namespace lutrane
