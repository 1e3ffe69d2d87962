#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <map>
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

// Every file under `root` with its text.
std::map<std::string, std::string> Files(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[entry.path().string()] = ReadText(entry.path());
    return files;
}

class CompareCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("specimens/a.fas", ">a\nACGTACGTAC\n");
        dir.Write("specimens/b.fas", ">b\nACGTTCGTAC\n");
        dir.Write("refs.fas", ">r1\nACGTACGTAA\n>r2\nACGTACGTAC\n");
        dir.Write("mixed/o.fas", ">o\nACNOOUTPUTGT\n");
        dir.Write("mixed/p.fas", ">p\nACGTACGTAC\n");
        dir.Write("mixed/q.fas", ">q\nACNOLENGTHGT\n");
        dir.Write("mixed/r.fas", ">r\nACGTACGTAC\n>r2\nACGTACGTAC\n");
        dir.Write("mixed/s.fas", ">s\n");
        dir.Write("norecords.fas", "just text\n");
        dir.Write("keep.txt", "the user's own file\n");
        fs::create_directory(dir / "empty");
    }

    // Runs kadrel in the test folder with `path` as its search path.
    Outcome Kadrel(const std::string& arguments, const std::string& path = FAKE_TCOFFEE_DIR ":/usr/bin:/bin") {
        const std::string command = "cd '" + dir.Path().string() + "' && PATH='" + path + "' LC_ALL=C '" KADREL_EXE +
                                    std::string("' compare ") + arguments + " >'" + (streams / "out").string() +
                                    "' 2>'" + (streams / "err").string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(streams / "out"), ReadText(streams / "err")};
    }

    TestFolder dir, streams;
};

TEST_F(CompareCommandTest, WritesTheReportAndTheBackup) {
    const Outcome run = Kadrel("specimens refs.fas -m k2p -j 2");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "kadrel: 4 pairs compared, 0 failed\n");
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u + 4u + 1u + 2u) << run.out;
    EXPECT_EQ(lines[0].rfind("Comparisons by Orvo   ", 0), 0u);
    EXPECT_EQ(lines[2], "a\tr1\t10\t1\t0.1\t0\t0\t1\t0\t0.081");
    EXPECT_EQ(lines[7], "a\tr2\t0");
    EXPECT_EQ(lines[8], "b\tr2\t0.081");
    const std::string beforeBestMatches = run.out.substr(0, run.out.find("Best matches:"));
    EXPECT_EQ(ReadText(dir / "query.bak"), beforeBestMatches);

    // The banner holds the time, so the second run is compared from its column titles on.
    const auto fromTitles = [](const std::string& report) { return report.substr(report.find("\r\n")); };
    const Outcome toFile = Kadrel("specimens refs.fas -m k2p -o report.txt --backup other.bak");
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(fromTitles(ReadText(dir / "report.txt")), fromTitles(run.out));
    EXPECT_EQ(fromTitles(ReadText(dir / "other.bak")), fromTitles(beforeBestMatches));

    fs::remove(dir / "query.bak");
    EXPECT_EQ(Kadrel("specimens refs.fas --no-backup").status, 0);
    EXPECT_FALSE(fs::exists(dir / "query.bak"));
}

// Failing pairs and records, an unwritable backup, empty sets: warned of, and the run goes on.
TEST_F(CompareCommandTest, StatusAndMessagesOfRunsThatGoOn) {
    const std::vector<std::string> mixed = {
        "kadrel: warning: pair 0_0 (o, r1): t_coffee wrote no alignment (exit status 1)",
        "kadrel: warning: pair 0_1 (o, r2): t_coffee wrote no alignment (exit status 1)",
        "kadrel: warning: pair 2_0 (q, r1): no \"Len=\" in the header line",
        "kadrel: warning: pair 2_1 (q, r2): no \"Len=\" in the header line",
        "kadrel: warning: \"mixed/r.fas\" holds more than one record; its pairs are reported as NA",
        "kadrel: warning: \"mixed/s.fas\" holds no sequence; its pairs are reported as NA",
        "kadrel: 10 pairs compared, 8 failed"};
    const std::string none = "kadrel: 0 pairs compared, 0 failed";
    struct Case {
        std::string arguments;
        int status;
        std::vector<std::string> err;  // in any order
        std::size_t lines;             // header, rows, "Best matches:" and its lines
    };
    const std::vector<Case> cases = {
        {"mixed refs.fas -j 1", 1, mixed, 2 + 10 + 1 + 5},
        {"mixed refs.fas -j 2", 1, mixed, 2 + 10 + 1 + 5},
        // Problem records on the set-2 side (the stand-in drops "Len=" only for a first sequence).
        {"refs.fas mixed", 1,
         {"kadrel: warning: pair 0_0 (r1, o): t_coffee wrote no alignment (exit status 1)",
          "kadrel: warning: pair 1_0 (r2, o): t_coffee wrote no alignment (exit status 1)",
          mixed[4], mixed[5], "kadrel: 10 pairs compared, 6 failed"},
         2 + 10 + 1 + 2},
        {"specimens refs.fas --backup nowhere/q.bak", 0,
         {"kadrel: warning: cannot write the backup \"nowhere/q.bak\" (No such file or directory); the run goes on "
          "without it",
          "kadrel: 4 pairs compared, 0 failed"},
         2 + 4 + 1 + 2},
        {"empty refs.fas", 0, {"kadrel: warning: set 1 \"empty\" holds no records", none}, 3},
        {"refs.fas norecords.fas", 0, {"kadrel: warning: set 2 \"norecords.fas\" holds no records", none}, 2 + 1 + 2},
    };
    const auto sorted = [](std::vector<std::string> lines) {
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    std::vector<std::string> reports;
    for (const auto& c : cases) {
        const Outcome run = Kadrel(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(sorted(Lines(run.err, "\n")), sorted(c.err)) << c.arguments;
        EXPECT_EQ(Lines(run.out).size(), c.lines) << c.arguments << "\n" << run.out;
        reports.push_back(run.out.substr(run.out.find("\r\n")));  // less the banner and its time
    }
    EXPECT_EQ(reports[1], reports[0]) << "two pairs at once must give the one-at-a-time report";
}

TEST_F(CompareCommandTest, UnusableInputWritesNothingAndGivesStatusTwo) {
    struct Case {
        std::string arguments;
        std::string path;
        std::string message;  // a part of the message on stderr
    };
    const std::vector<Case> cases = {
        {"specimens refs.fas -o out.txt", (dir / "empty").string(), "apt-get install t-coffee"},
        {"missing refs.fas -o out.txt", FAKE_TCOFFEE_DIR, "\"missing\": no such file or folder"},
        {"specimens nowhere/x.fas -o out.txt", FAKE_TCOFFEE_DIR, "nowhere/x.fas\": no such file or folder"},
        {"specimens refs.fas -o refs.fas", FAKE_TCOFFEE_DIR, "would overwrite a file of the sets"},
        {"specimens refs.fas --backup refs.fas -o out.txt", FAKE_TCOFFEE_DIR, "would overwrite a file of the sets"},
        {"specimens refs.fas -o specimens/../specimens/a.fas", FAKE_TCOFFEE_DIR, "would overwrite a file of the sets"},
        {"specimens refs.fas --backup specimens/b.fas", FAKE_TCOFFEE_DIR, "would overwrite a file of the sets"},
        {"specimens refs.fas -o keep.txt --backup keep.txt", FAKE_TCOFFEE_DIR, "are the same file"},
        {"specimens refs.fas -m k3p -o out.txt", FAKE_TCOFFEE_DIR, "k3p"},
    };
    const auto before = Files(dir.Path());
    for (const auto& c : cases) {
        const Outcome run = Kadrel(c.arguments, c.path);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_EQ(Files(dir.Path()), before) << c.arguments;
    }
}

}  // namespace
}  // namespace kadrel
