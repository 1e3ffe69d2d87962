#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class DistanceCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kadrel-distance-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A two-sequence alignment in the aligner's layout, blocks of 60 sites.
    fs::path WriteAln(const std::string& name, const std::string& first, const std::string& second,
                      const std::string& end = "\n") {
        std::string text = "CLUSTAL FORMAT for T-COFFEE, Nseq=2, Len=" + std::to_string(first.size()) + end + end;
        for (std::size_t at = 0; at < first.size(); at += 60) {
            text += "seqA      " + first.substr(at, 60) + end;
            text += "seqB      " + second.substr(at, 60) + end;
            text += "          " + end + end;
        }
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    Outcome Run(const std::string& arguments) {
        const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
        const std::string command = "LC_ALL=C '" KADREL_EXE "' " + arguments + " >'" + out.string() + "' 2>'" +
                                    err.string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(out), ReadAll(err)};
    }

    fs::path dir_;
};

const std::string kTitle = "Seq1\tSeq2\tLength\tNo. Diff.\tp-Dist\tNo. gaps\tNo. Trans.\tNo. Transv.\tTs/Tv\t";

TEST_F(DistanceCommand, FailingFormulasWriteNAOnlyWhereTheyFail) {
    struct Case {
        const char* model;
        std::string first, second;
        std::string row;
    };
    const Case cases[] = {
        {"jc", "AAAAAAAA", "CGTCAAAA", "seqA\tseqB\t8\t4\t0.5\t0\t1\t3\t0.333\t0.824"},
        {"jc", "AAAA", "CGTC", "seqA\tseqB\t4\t4\t1\t0\t1\t3\t0.333\tNA"},
        {"tn84", "AACCGG", "GACAGG", "seqA\tseqB\t6\t2\t0.333\t0\t1\t1\t1\tNA"},
        {"tn93", "AACCGG", "GACAGG", "seqA\tseqB\t6\t2\t0.333\t0\t1\t1\t1\tNA"},
        {"logdet", "AAAC", "AAAG", "seqA\tseqB\t4\t1\t0.25\t0\t0\t1\t0\tNA"},
        {"t3p", "AAAA", "AACC", "seqA\tseqB\t4\t2\t0.5\t0\t0\t2\t0\tNA"},
        {"K2P", "--A-", "AC-G", "seqA\tseqB\t4\t0\tNA\t4\t0\t0\t0\tNA"},
        {"none", "--", "AC", "seqA\tseqB\t2\t0\tNA\t2\t0\t0\t0"},
        {"k2p", "AAAA", "AACC", "seqA\tseqB\t4\t2\t0.5\t0\t0\t2\t0\t1.122"},
    };
    for (const Case& c : cases) {
        const fs::path aln = WriteAln("pair.aln", c.first, c.second);
        const Outcome o = Run(std::string("distance -m ") + c.model + " '" + aln.string() + "'");
        const bool failed = c.row.find("NA") != std::string::npos;
        EXPECT_EQ(o.status, failed ? 1 : 0) << c.model << " " << c.first << "/" << c.second << o.err;
        const std::string title = o.out.substr(0, o.out.find("\r\n"));
        EXPECT_EQ(o.out.substr(o.out.find("\r\n") + 2), c.row + "\r\n") << c.model << " " << c.first;
        EXPECT_EQ(title.substr(0, kTitle.size()), kTitle);
    }
}

TEST_F(DistanceCommand, LongAlignmentIsComputedInFull) {
    std::string first, second;
    for (int i = 0; i < 3000; ++i) {
        first += "ACGT"[i % 4];
        second += i % 10 == 0 ? "GTAC"[i % 4] : "ACGT"[i % 4];
    }
    const fs::path aln = WriteAln("long.aln", first, second, "\r\n");
    const Outcome o = Run("distance -m JC '" + aln.string() + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, kTitle + "JC-dist.\r\nseqA\tseqB\t3000\t300\t0.1\t0\t300\t0\t300\t0.107\r\n");
}

TEST_F(DistanceCommand, UnreadableFileIsNamedAndTheOthersStillGetRows) {
    const fs::path good = WriteAln("good.aln", "ACGTACGTAC", "ACGTACGTAA");
    const fs::path missing = dir_ / "missing.aln";
    const Outcome o = Run("distance '" + good.string() + "' '" + missing.string() + "' '" + dir_.string() + "' '" +
                          good.string() + "'");
    EXPECT_EQ(o.status, 2);
    const std::string row = "seqA\tseqB\t10\t1\t0.1\t0\t0\t1\t0\r\n";
    EXPECT_EQ(o.out, kTitle + "\r\n" + row + row);
    EXPECT_NE(o.err.find(missing.string()), std::string::npos) << o.err;
    EXPECT_NE(o.err.find(dir_.string()), std::string::npos) << o.err;
}

TEST_F(DistanceCommand, UnusableAlignmentIsReportedAndMarked) {
    const fs::path aln = dir_ / "broken.aln";
    std::ofstream(aln, std::ios::binary) << "CLUSTAL no length\n\nseqA ACGT\nseqB ACGT\n\n";
    const Outcome o = Run("distance -m logdet '" + aln.string() + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, kTitle + "LogDet-dist.\r\nseqA\tseqB\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\r\n");
    EXPECT_NE(o.err.find("broken.aln"), std::string::npos) << o.err;
}

TEST_F(DistanceCommand, BadUsageExitsWithTwo) {
    const fs::path aln = WriteAln("a.aln", "ACGT", "ACGT");
    for (const std::string& args : {"distance -m kimura '" + aln.string() + "'", std::string("distance"),
                                   std::string("nosuchcommand")}) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, 2) << args;
        EXPECT_TRUE(o.out.empty()) << args;
        EXPECT_FALSE(o.err.empty()) << args;
    }
}

}  // namespace
