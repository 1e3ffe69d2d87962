#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "FakeTCoffeePath.h"
#include "RunTestSupport.h"
#include "TestFolder.h"
#include "align/TCoffeeAligner.h"
#include "calc/RunComparison.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::Lines;
using test::MemorySink;
using test::ReadText;
using test::ScopedVariable;
using test::SearchPathFirst;
using test::TestFolder;

class TCoffeeAlignerTest : public ::testing::Test {
protected:
    SearchPathFirst fake{FAKE_TCOFFEE_DIR};
    TestFolder scratch;
};

TEST_F(TCoffeeAlignerTest, WritesThePairsInputAndScriptInItsPrivateFolder) {
    // A temp folder whose path needs quoting in the script.
    const auto root = scratch / "temp dir's";
    fs::create_directories(root);
    fs::create_directories(scratch / "copies");
    const ScopedVariable copy("FAKE_TCOFFEE_COPY", (scratch / "copies").string());
    fs::path folder;
    {
        TCoffeeAligner aligner(root);
        EXPECT_TRUE(aligner.WorkFolderPath().empty());
        const AlignedPair pair = aligner.Align(">first one\r\nACGTAC\r\n", ">second\nACGAAC\n", "3_12", {});
        folder = aligner.WorkFolderPath();
        ASSERT_TRUE(pair.usable) << pair.failure;
        EXPECT_EQ(pair.first, "ACGTAC");
        EXPECT_EQ(pair.second, "ACGAAC");
        EXPECT_EQ(pair.length, 6);
        EXPECT_EQ(folder.parent_path(), root);
        EXPECT_EQ(ReadText(scratch / "copies/3_12.fas"), ">s1\r\nACGTAC\r\n\r\n>s2\r\nACGAAC\n\r\n");
        std::string quoted;  // the folder inside single quotes, each quote written '\''
        for (char c : folder.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        EXPECT_EQ(ReadText(scratch / "copies/3_12.sh"), "cd /\ncd '" + quoted + "'\nt_coffee 3_12.fas");
        EXPECT_TRUE(fs::is_empty(folder));
    }
    EXPECT_FALSE(fs::exists(folder)) << "the work folder outlives its aligner";
}

TEST_F(TCoffeeAlignerTest, UnusableOutputGivesAFailureWithItsReason) {
    struct Case {
        const char* marker;
        const char* reason;  // a part of the failure text
    };
    const std::vector<Case> cases = {
        {"NOOUTPUT", "wrote no alignment (exit status 1)"},
        {"NOLENGTH", "Len="},
        {"SHORTSEQ", ""},
    };
    TCoffeeAligner aligner(scratch.Path());
    for (const auto& c : cases) {
        const AlignedPair pair = aligner.Align(std::string(">a\nAC") + c.marker + "GT\n", ">b\nACGT\n", "0_0", {});
        EXPECT_FALSE(pair.usable) << c.marker;
        EXPECT_NE(pair.failure.find(c.reason), std::string::npos) << c.marker << ": " << pair.failure;
    }
    EXPECT_TRUE(aligner.Align(">a\nACGT\n", ">b\nACGA\n", "0_1", {}).usable);
}

TEST_F(TCoffeeAlignerTest, DeletesOnlyThePairsOwnFiles) {
    const auto log = scratch / "calls.log";
    const ScopedVariable logging("FAKE_TCOFFEE_LOG", log.string());
    TCoffeeAligner aligner(scratch.Path());
    ASSERT_TRUE(aligner.Align(">a\nACGT\n", ">b\nACGA\n", "0_0", {}).usable);
    const fs::path folder = aligner.WorkFolderPath();
    EXPECT_TRUE(fs::is_empty(folder)) << "pair files left behind";

    // Files that look like work files of other pairs, or of this pair under another name.
    const std::vector<std::string> planted = {"0_1.fas", "0_1.aln", "0_10.fas", "x.dnd", "1_0.txt", "1_0.fas.keep"};
    for (const auto& name : planted) std::ofstream(folder / name) << "keep";
    ASSERT_TRUE(aligner.Align(">a\nACGT\n", ">b\nACGA\n", "1_0", {}).usable);

    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = planted;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    // They were there while the aligner ran.
    EXPECT_NE(ReadText(log).find(folder.string() + "|1_0.fas|"), std::string::npos) << ReadText(log);
}

TEST_F(TCoffeeAlignerTest, AStopKillsTheAligner) {
    TCoffeeAligner aligner(scratch.Path());
    std::stop_source stop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stop.request_stop();
    });
    const auto start = std::chrono::steady_clock::now();
    const AlignedPair pair = aligner.Align(">a\nSLEEPLONG\n", ">b\nACGT\n", "0_0", stop.get_token());
    stopper.join();
    EXPECT_FALSE(pair.usable);
    EXPECT_EQ(pair.failure, "stopped");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_TRUE(fs::is_empty(aligner.WorkFolderPath()));
}

TEST_F(TCoffeeAlignerTest, TellsHowToInstallWhenNotOnTheSearchPath) {
    TCoffeeAligner aligner;
    EXPECT_EQ(aligner.CheckAvailable(), "");
    const ScopedVariable nowhere("PATH", (scratch / "empty").string());
    const std::string message = aligner.CheckAvailable();
    EXPECT_NE(message.find("t_coffee was not found"), std::string::npos) << message;
    EXPECT_NE(message.find("apt-get install t-coffee"), std::string::npos) << message;
}

// The pair names t_coffee is called with, and the rows, through the script and the stand-in.
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
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {"f1", "f1", "0_1.fas 1_0.fas ", {"a|b", "b|a"}},
        {"f1", "f2", "0_0.fas 0_1.fas 1_1.fas ", {"a|b", "a|c", "b|c"}},
        {"f2", "m.fas", "0_0.fas 0_1.fas 1_0.fas 1_1.fas ", {"b|same", "b|same", "c|same", "c|same"}},
        {"m.fas", "m.fas", "0_0.fas 0_1.fas 1_0.fas 1_1.fas ", {"same|same", "same|same", "same|same", "same|same"}},
    };
    for (const auto& c : cases) {
        const auto log = scratch / "calls.log";
        fs::remove(log);
        const ScopedVariable logging("FAKE_TCOFFEE_LOG", log.string());
        TCoffeeAligner aligner(scratch.Path());
        MemorySink sink;
        const RunSummary summary = RunComparison(ReadSequenceSet(1, scratch / c.set1), ReadSequenceSet(2, scratch / c.set2),
                                                 RunOptions{}, aligner, sink, {});
        std::string calls;
        for (const auto& line : test::LinesOf(ReadText(log))) {  // folder|argument|files
            const auto argument = line.find('|') + 1;
            calls += line.substr(argument, line.find('|', argument) - argument) + " ";
        }
        EXPECT_EQ(calls, c.calls) << c.set1 << " " << c.set2;
        const auto lines = Lines(sink.report);
        std::vector<std::string> rows;
        for (std::size_t r = 0; r < c.rows.size(); ++r) rows.push_back(test::Fields(lines.at(2 + r), 2));
        EXPECT_EQ(rows, c.rows) << c.set1 << " " << c.set2;
        EXPECT_EQ(lines.at(2 + rows.size()), "Best matches:");
        EXPECT_EQ(sink.finished, (std::vector<std::size_t>{0, 1}));  // every set 1 here has two records
        ASSERT_FALSE(sink.progress.empty());
        EXPECT_EQ(sink.progress.back(), std::make_pair(rows.size(), rows.size()));
        EXPECT_EQ(summary.StatusText(), "done") << c.set1 << " " << c.set2;
    }
}

// The whole road through the bridge: failing pairs give NA rows and the run goes on, two pairs at
// once give the same report as one.
TEST_F(TCoffeeAlignerTest, RunsWithFailingPairsAndConcurrentPairs) {
    scratch.Write("set1.fas", ">q1\nACGTACGTAC\n>q2\nACNOOUTPUTGT\n>q3\nACSHORTSEQAC\n");
    scratch.Write("set2/r1.fas", ">r1\nACGTACGAAC\n");
    scratch.Write("set2/r2.fas", ">r2\nACGTACGTGC\n");
    std::vector<std::string> reports;
    for (unsigned window : {1u, 2u}) {
        TCoffeeAligner aligner(scratch.Path());
        MemorySink sink;
        RunOptions options;
        options.model = DistanceModel::K2P;
        options.concurrentPairs = window;
        const RunSummary summary = RunComparison(ReadSequenceSet(1, scratch / "set1.fas"),
                                                 ReadSequenceSet(2, scratch / "set2"), options, aligner, sink, {});
        EXPECT_EQ(summary.pairsCompared, 6u);
        EXPECT_EQ(summary.pairsFailed, 4u);
        const auto lines = Lines(sink.report);
        ASSERT_EQ(lines.size(), 2u + 6u + 1u + 3u);
        EXPECT_EQ(lines[2], "q1\tr1\t10\t1\t0.1\t0\t0\t1\t0\t0.081");
        EXPECT_EQ(lines[3], "q1\tr2\t10\t1\t0.1\t0\t1\t0\t1\t0.112");
        for (std::size_t row = 4; row < 8; ++row)
            EXPECT_NE(lines[row].find("\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA"), std::string::npos) << lines[row];
        EXPECT_EQ(sink.finished, (std::vector<std::size_t>{0, 1, 2}));
        reports.push_back(sink.report);
    }
    EXPECT_EQ(reports[0], reports[1]);
}

}  // namespace
}  // namespace kadrel
