#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "RunTestSupport.h"
#include "TestFolder.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::Lines;
using test::ReadText;
using test::TestFolder;

struct Outcome {
    int status = -1;
    std::string out, err;
};

class CompareCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("specimens/a.fas", ">a\nACGTACGTAC\n");
        dir.Write("specimens/b.fas", ">b\nACGTTCGTAC\n");
        dir.Write("refs.fas", ">r1\nACGTACGTAA\n>r2\nACGTACGTAC\n");
        fs::create_directory(dir / "empty");
        fs::create_directory(dir / "nothing-on-path");
    }

    // Runs kadrel in the test folder with `path` as its search path.
    Outcome Kadrel(const std::string& arguments, const std::string& path = FAKE_TCOFFEE_DIR ":/usr/bin:/bin") {
        const std::string command = "cd '" + dir.Path().string() + "' && PATH='" + path + "' LC_ALL=C '" KADREL_EXE +
                                    std::string("' compare ") + arguments + " >stdout.txt 2>stderr.txt";
        const int raw = std::system(command.c_str());
        Outcome outcome;
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        outcome.out = ReadText(dir / "stdout.txt");
        outcome.err = ReadText(dir / "stderr.txt");
        return outcome;
    }

    TestFolder dir;
};

TEST_F(CompareCommandTest, WritesTheReportTheBackupAndASummary) {
    const Outcome run = Kadrel("specimens refs.fas -m k2p -j 2");
    EXPECT_EQ(run.status, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u + 4u + 1u + 2u) << run.out;
    EXPECT_EQ(lines[0].rfind("Comparisons by Orvo   ", 0), 0u);
    EXPECT_EQ(lines[2], "a\tr1\t10\t1\t0.1\t0\t0\t1\t0\t0.081");
    EXPECT_EQ(lines[7], "a\tr2\t0");
    EXPECT_EQ(lines[8], "b\tr2\t0.081");
    EXPECT_EQ(run.err, "kadrel: 4 pairs compared, 0 failed\n");
    EXPECT_EQ(ReadText(dir / "query.bak"), run.out.substr(0, run.out.find("Best matches:")));

    const Outcome toFile = Kadrel("specimens refs.fas -m k2p -o report.txt --backup other.bak");
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(Lines(ReadText(dir / "report.txt")).size(), lines.size());
    EXPECT_TRUE(fs::exists(dir / "other.bak"));

    fs::remove(dir / "query.bak");
    EXPECT_EQ(Kadrel("specimens refs.fas --no-backup").status, 0);
    EXPECT_FALSE(fs::exists(dir / "query.bak"));
}

TEST_F(CompareCommandTest, FailedPairsAreCountedAndGiveStatusOne) {
    dir.Write("bad.fas", ">x\nACNOOUTPUTGT\n>y\nACGTACGTAC\n");
    const Outcome run = Kadrel("bad.fas refs.fas");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.out).size(), 2u + 4u + 1u + 2u);
    EXPECT_NE(run.err.find("kadrel: 4 pairs compared, 2 failed\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("warning: pair 0_0 (x, r1): t_coffee wrote no alignment"), std::string::npos) << run.err;
}

TEST_F(CompareCommandTest, AnEmptySetIsWarnedOfButNoError) {
    dir.Write("norecords.fas", "just text\n");
    for (const std::string arguments : {"empty refs.fas", "refs.fas norecords.fas"}) {
        const Outcome run = Kadrel(arguments);
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_NE(run.err.find("holds no records"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("0 pairs compared, 0 failed"), std::string::npos) << run.err;
        EXPECT_NE(run.out.find("Best matches:\r\n"), std::string::npos);
    }
}

TEST_F(CompareCommandTest, UnusableInputWritesNothingAndGivesStatusTwo) {
    const std::string setText = ReadText(dir / "refs.fas");
    dir.Write("keep.txt", "the user's own file\n");
    struct Case {
        std::string arguments;
        std::string path;
        std::string message;  // a part of the message on stderr
    };
    const std::vector<Case> cases = {
        {"specimens refs.fas -o out.txt", (dir / "nothing-on-path").string(), "apt-get install t-coffee"},
        {"missing refs.fas -o out.txt", FAKE_TCOFFEE_DIR, "\"missing\": no such file or folder"},
        {"specimens nowhere/x.fas -o out.txt", FAKE_TCOFFEE_DIR, "nowhere/x.fas\": no such file or folder"},
        {"specimens refs.fas -o refs.fas", FAKE_TCOFFEE_DIR, "would overwrite a file of the sets"},
        {"specimens refs.fas --backup refs.fas -o out.txt", FAKE_TCOFFEE_DIR, "would overwrite a file of the sets"},
        {"specimens refs.fas -o specimens/../specimens/a.fas", FAKE_TCOFFEE_DIR, "would overwrite a file of the sets"},
        {"specimens refs.fas --backup specimens/b.fas", FAKE_TCOFFEE_DIR, "would overwrite a file of the sets"},
        {"specimens refs.fas -o keep.txt --backup keep.txt", FAKE_TCOFFEE_DIR, "are the same file"},
        {"specimens refs.fas -m k3p -o out.txt", FAKE_TCOFFEE_DIR, "k3p"},
    };
    for (const auto& c : cases) {
        const Outcome run = Kadrel(c.arguments, c.path);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_FALSE(fs::exists(dir / "out.txt")) << c.arguments;
        EXPECT_FALSE(fs::exists(dir / "query.bak")) << c.arguments;
        EXPECT_EQ(ReadText(dir / "refs.fas"), setText);
        EXPECT_EQ(ReadText(dir / "specimens/a.fas"), ">a\nACGTACGTAC\n");
        EXPECT_EQ(ReadText(dir / "specimens/b.fas"), ">b\nACGTTCGTAC\n");
        EXPECT_EQ(ReadText(dir / "keep.txt"), "the user's own file\n");
    }
}

}  // namespace
}  // namespace kadrel
