#include <QProcess>

#include "WindowTest.h"

namespace kadrel::ui::test {
namespace {

// A set without any record: Calculate shows the command line's message and starts nothing.
TEST_F(WindowTest, ASetWithoutRecordsStartsNoRun) {
    fs::create_directory(work_ / "none");
    // Set 1 a multiple-sequence file of this name and text; without a name, set 2 the empty folder.
    const std::pair<const char*, std::string> cases[] = {
        {nullptr, ""}, {"empty.fas", ""}, {"plain.fas", "ACGTACGT\r\n"}, {"binary.fas", {"\x7f" "ELF\0>\1", 7}}};
    for (const auto& [file, text] : cases) {
        Open();
        ChooseFolders(Folder("left"), file ? Folder("right") : Folder("none"));
        QStringList sets = {Folder("left"), Folder("none")};
        if (file) {
            sets = {QString::fromStdString(work_.Write(file, text).string()), Folder("right")};
            Click("Check1");
            dialogs_->openAnswers = {sets[0]};
        }
        Click("Command1");
        EXPECT_TRUE(!form_->RunInProgress() && box_->ReportText().empty() && !fs::exists("query.bak"));
        QProcess compare;
        compare.start(KADREL_EXE, QStringList{"compare"} + sets);
        ASSERT_TRUE(compare.waitForFinished(60000));
        const QString message = QString::fromUtf8(compare.readAllStandardError()).trimmed();
        EXPECT_EQ(dialogs_->errors, QStringList{message.mid(QStringLiteral("kadrel: ").size())});
    }
}

// The window's backup lands in the current folder, where both sides start: a second Calculate
// there leaves it out of the set instead of comparing it as a record.
TEST_F(WindowTest, TheBackupIsNoRecordOfTheNextRun) {
    work_.Write("x.fas", ">x\r\nACGTACGTAC\r\n");
    Open();
    ChooseFolders(QString::fromStdString(work_.Path().string()), Folder("right"));
    CalculateAndWait();
    CalculateAndWait();
    EXPECT_EQ(Status(), QStringLiteral("done"));
    EXPECT_EQ(box_->ReportText().find("query\t"), std::string::npos);
    ASSERT_EQ(dialogs_->warnings.size(), 1);
    EXPECT_TRUE(dialogs_->warnings[0].endsWith("query.bak\" is the run's backup file; it is not read as a record"));
}

}  // namespace
}  // namespace kadrel::ui::test
