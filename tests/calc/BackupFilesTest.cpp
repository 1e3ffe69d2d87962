#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "RunTestSupport.h"
#include "TempFolder.h"
#include "calc/RunComparison.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::FakeAligner;
using test::FilesUnder;
using test::MemorySink;
using test::ReadText;
using test::TempFolder;

// While it lives, no file of this process grows past `bytes`: a write beyond fails as on a full
// disk, instead of the signal ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::optional<rlim_t> bytes) {
        ::getrlimit(RLIMIT_FSIZE, &before_);
        if (!bytes) return;
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{*bytes, before_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &before_);
        ::signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit before_{};
};

// The run writes its own backup: three set-1 records of three pairs each.
class BackupFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        sets.Write("f1/a.fas", ">x\nACGTACGTAC\n");
        sets.Write("f1/b.fas", ">x\nACGTACGTAA\n");
        sets.Write("f1/c.fas", ">x\nACGTACGTTT\n");
        sets.Write("m2.fas", ">n1\nACGTACGTAC\n>n2\nACGTATGTAC\n>n3\nTCGTACGTAC\n");
    }

    // The backup as it stood at every set-1 record's end.
    std::vector<std::string> Run(const fs::path& backup, MemorySink& sink, std::optional<rlim_t> sizeLimit = {}) {
        RunOptions options;
        options.bannerDate = "06.12.26 20:30";
        options.backupFile = backup;
        std::vector<std::string> backups;
        sink.onRecordFinished = [&] { backups.push_back(fs::is_regular_file(backup) ? ReadText(backup) : "-"); };
        const FileSizeLimit limit(sizeLimit);
        RunComparison(ReadSequenceSet(1, sets / "f1"), ReadSequenceSet(2, sets / "m2.fas"), options, aligner, sink, {});
        return backups;
    }

    TempFolder sets;
    FakeAligner aligner;
};

// A full disk never leaves a torn backup: an earlier run's backup stays until a whole new one
// replaces it, and a later record that does not fit is cut off. The run goes on, warned once.
TEST_F(BackupFilesTest, TheBackupIsAlwaysTheReportAsOfAFinishedRecord) {
    MemorySink free;
    Run(sets / "free.bak", free);
    const std::vector<std::string>& r = free.reportAtFinish;
    ASSERT_EQ(r.size(), 3u);
    const std::string earlier = "an earlier run's backup\r\n";
    struct Case {
        std::optional<rlim_t> limit;
        std::vector<std::string> backups;  // at every record's end
    };
    const std::vector<Case> cases = {
        {std::nullopt, {r[0], r[1], r[2]}},
        {r[0].size() - 1, {earlier, earlier, earlier}},
        {r[1].size() - 1, {r[0], r[0], r[0]}},
        {r[2].size() - 1, {r[0], r[1], r[1]}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit.value_or(0));
        const TempFolder folder;
        const fs::path backup = folder.Write("query.bak", earlier);
        MemorySink sink;
        EXPECT_EQ(Run(backup, sink, c.limit), c.backups);
        EXPECT_EQ(sink.report, free.report);
        EXPECT_EQ(FilesUnder(folder.Path()).size(), 1u) << "a temporary file was left";
        ASSERT_EQ(sink.warnings.size(), c.limit ? 1u : 0u);
        if (c.limit) {
            EXPECT_EQ(sink.warnings[0],
                      "cannot write the backup \"" + backup.string() + "\" (File too large); the run goes on without it");
        }
    }
}

// A link is followed to the file it names, and that file keeps its permissions; what is not a
// regular file, or is in no folder, is left as it is, with one warning.
TEST_F(BackupFilesTest, WhereTheBackupLands) {
    struct Case {
        const char* given;
        const char* written;  // where the backup lands; nullptr: nowhere
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"new.lnk", "sub/new.bak", nullptr},
        {"old.lnk", "old.bak", nullptr},
        {"folder.bak", nullptr, "it is not a regular file"},
        {"nowhere/q.bak", nullptr, "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        const TempFolder folder;
        fs::create_directories(folder / "folder.bak/inside");
        fs::create_directory(folder / "sub");
        fs::create_symlink("sub/new.bak", folder / "new.lnk");
        fs::create_symlink(folder / "old.bak", folder / "old.lnk");
        ::chmod(folder.Write("old.bak", "earlier").c_str(), 0640);
        MemorySink sink;
        Run(folder / c.given, sink);
        EXPECT_TRUE(fs::is_symlink(folder / "new.lnk") && fs::is_symlink(folder / "old.lnk"));
        EXPECT_EQ(fs::status(folder / "old.bak").permissions(), fs::perms(0640));
        EXPECT_TRUE(fs::is_directory(folder / "folder.bak/inside"));
        if (c.written) {
            EXPECT_EQ(ReadText(folder / c.written), sink.reportAtFinish.back());
        }
        ASSERT_EQ(sink.warnings.size(), c.reason ? 1u : 0u);
        if (c.reason) {
            EXPECT_NE(sink.warnings[0].find(std::string(c.given) + "\" (" + c.reason + ")"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace kadrel
