#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "RunTestSupport.h"
#include "ScopedVariable.h"
#include "TestFolder.h"
#include "align/TCoffeeAligner.h"
#include "calc/RunComparison.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::Lines;
using test::ReadText;
using test::ScopedVariable;
using test::TestFolder;

// The stand-in t_coffee first on the search path.
class TCoffeeAlignerTest : public ::testing::Test {
protected:
    ScopedVariable fake{"PATH", std::string(FAKE_TCOFFEE_DIR ":") + std::getenv("PATH")};
    TestFolder scratch;
};

// The aligner's private folder: the one entry it made in an empty `root`.
fs::path WorkFolderIn(const fs::path& root) { return fs::directory_iterator(root)->path(); }

// The pair's input and script go in a private folder, under a root that needs quoting in the
// script; only the pair's own files are deleted after it, and the folder goes with the aligner.
TEST_F(TCoffeeAlignerTest, WorksInAPrivateFolderAndDeletesOnlyThePairsOwnFiles) {
    const auto root = scratch / "temp dir's";
    fs::create_directories(root);
    fs::create_directories(scratch / "copies");
    const ScopedVariable copy("FAKE_TCOFFEE_COPY", (scratch / "copies").string());
    const ScopedVariable logging("FAKE_TCOFFEE_LOG", (scratch / "calls.log").string());
    fs::path folder;
    {
        TCoffeeAligner aligner(root);
        const AlignedPair pair = aligner.Align(">first one\r\nACGTAC\r\n", ">second\nACGAAC\n", "3_12", {});
        folder = WorkFolderIn(root);
        ASSERT_TRUE(pair.usable) << pair.failure;
        EXPECT_EQ(pair.first + " " + pair.second, "ACGTAC ACGAAC");
        EXPECT_EQ(folder.parent_path(), root);
        EXPECT_EQ(ReadText(scratch / "copies/3_12.fas"), ">s1\r\nACGTAC\r\n\r\n>s2\r\nACGAAC\n\r\n");
        std::string quoted;  // the folder inside single quotes, each quote written '\''
        for (char c : folder.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        EXPECT_EQ(ReadText(scratch / "copies/3_12.sh"), "cd /\ncd '" + quoted + "'\nt_coffee 3_12.fas");
        EXPECT_TRUE(fs::is_empty(folder)) << "pair files left behind";

        // Files that look like work files of other pairs, or of this pair under another name.
        const std::set<std::string> planted = {"0_1.fas", "0_1.aln", "0_10.fas", "x.dnd", "1_0.txt", "1_0.fas.keep"};
        for (const auto& name : planted) std::ofstream(folder / name) << "keep";
        ASSERT_TRUE(aligner.Align(">a\nACGT\n", ">b\nACGA\n", "1_0", {}).usable);
        std::set<std::string> left;
        for (const auto& entry : fs::directory_iterator(folder)) left.insert(entry.path().filename().string());
        EXPECT_EQ(left, planted);
        const std::string log = ReadText(scratch / "calls.log");
        EXPECT_NE(log.find(folder.string() + "|1_0.fas|"), std::string::npos) << "they were there all along: " << log;
    }
    EXPECT_FALSE(fs::exists(folder)) << "the work folder outlives its aligner";
}

TEST_F(TCoffeeAlignerTest, UnusableOutputOrAStopGivesAFailureWithItsReason) {
    struct Case {
        const char* marker;
        const char* reason;  // a part of the failure text
        bool stop;
    };
    const std::vector<Case> cases = {
        {"NOOUTPUT", "wrote no alignment (exit status 1)", false},
        {"NOLENGTH", "Len=", false},
        {"SHORTSEQ", "", false},
        {"SLEEPLONG", "stopped", true},  // killed at once rather than waited for
    };
    TCoffeeAligner aligner(scratch.Path());
    const auto start = std::chrono::steady_clock::now();
    for (const auto& c : cases) {
        std::stop_source stop;
        if (c.stop) stop.request_stop();
        const std::string record = ">a\nAC" + std::string(c.marker) + "GT\n";
        const auto pair = aligner.Align(record, ">b\nACGT\n", "0_0", stop.get_token());
        EXPECT_FALSE(pair.usable) << c.marker;
        EXPECT_NE(pair.failure.find(c.reason), std::string::npos) << c.marker << ": " << pair.failure;
        EXPECT_TRUE(fs::is_empty(WorkFolderIn(scratch.Path()))) << c.marker;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_TRUE(aligner.Align(">a\nACGT\n", ">b\nACGA\n", "0_1", {}).usable);
}

// The pair names t_coffee is called with, and a row for each, through the script and the stand-in.
TEST_F(TCoffeeAlignerTest, PairsReachTheAlignerInLoopOrderWithTheIdenticalFileSkip) {
    scratch.Write("f1/a.fas", ">a\nACGTACGTAC\n");
    scratch.Write("f1/b.fas", ">b\nACGTACGTAA\n");
    scratch.Write("f2/b.fas", ">b\nACGAACGTAC\n");
    scratch.Write("f2/c.fas", ">c\nACGTACGTTT\n");
    scratch.Write("m.fas", ">same\nACGTACGTAC\n>same\nACGTTCGTAC\n");
    struct Case {
        const char* set1;
        const char* set2;
        std::string calls;  // the argument of every call, in order
    };
    const std::vector<Case> cases = {
        {"f1", "f1", "0_1.fas 1_0.fas "},
        {"f1", "f2", "0_0.fas 0_1.fas 1_1.fas "},
        {"f2", "m.fas", "0_0.fas 0_1.fas 1_0.fas 1_1.fas "},
        {"m.fas", "m.fas", "0_0.fas 0_1.fas 1_0.fas 1_1.fas "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.set1) + " " + c.set2);
        const auto log = scratch / "calls.log";
        fs::remove(log);
        const ScopedVariable logging("FAKE_TCOFFEE_LOG", log.string());
        TCoffeeAligner aligner(scratch.Path());
        test::MemorySink sink;
        const RunSummary summary = RunComparison(ReadSequenceSet(1, scratch / c.set1),
                                                 ReadSequenceSet(2, scratch / c.set2), RunOptions{}, aligner, sink, {});
        std::string calls;
        for (const auto& line : Lines(ReadText(log), "\n")) {  // folder|argument|files
            const auto argument = line.find('|') + 1;
            calls += line.substr(argument, line.find('|', argument) - argument) + " ";
        }
        EXPECT_EQ(calls, c.calls);
        // A row for every call and none for a skipped pair; every set 1 here has two records.
        const std::size_t rows = Lines(c.calls, " ").size();
        EXPECT_EQ(Lines(sink.report).size(), 2 + rows + 1 + 2) << sink.report;
        std::vector<std::pair<std::size_t, std::size_t>> progress;  // the skipped pairs are not in the total
        for (std::size_t done = 1; done <= rows; ++done) progress.emplace_back(done, rows);
        EXPECT_EQ(sink.progress, progress);
        EXPECT_EQ(summary.StatusText(), "done");
    }
}

}  // namespace
}  // namespace kadrel
