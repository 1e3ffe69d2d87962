#include <gtest/gtest.h>

#include "TestFolder.h"
#include "calc/BackupWriter.h"

namespace kadrel {
namespace {

using test::ReadText;
using test::TestFolder;

TEST(BackupWriter, ReplacesAnOldFileThenAppendsEachCommit) {
    TestFolder folder;
    const auto file = folder.Write("query.bak", "an older run\r\n");
    BackupWriter backup(file);
    backup.Append("head\r\n");
    backup.Append("row 1\r\n");
    EXPECT_EQ(ReadText(file), "an older run\r\n");  // nothing before the first record is done
    ASSERT_TRUE(backup.Commit());
    EXPECT_EQ(ReadText(file), "head\r\nrow 1\r\n");
    backup.Append("row 2\r\n");
    ASSERT_TRUE(backup.Commit());
    ASSERT_TRUE(backup.Commit());
    EXPECT_EQ(ReadText(file), "head\r\nrow 1\r\nrow 2\r\n");
}

TEST(BackupWriter, AFileThatCannotBeWrittenFailsOnceNamingIt) {
    TestFolder folder;
    const auto file = folder / "no such folder" / "query.bak";
    BackupWriter backup(file);
    backup.Append("head\r\n");
    EXPECT_FALSE(backup.Commit());
    EXPECT_NE(backup.Error().find(file.string()), std::string::npos) << backup.Error();
    backup.Append("row\r\n");
    EXPECT_TRUE(backup.Commit());  // given up for the run: no second warning
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace kadrel
