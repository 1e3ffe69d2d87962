#include <QFileInfo>

#include "WindowTestSupport.h"

namespace kadrel::ui::test {
namespace {

using ReportCommandsTest = WindowTest;

const std::string kReport = "Comparisons by\tx\r\nSeq1\tSeq2\t\r\nna\xc3\xafve\t\xa0name\t0.25\r\n";

// Save writes the box's bytes as they stand and empties it only once the file is written.
TEST_F(ReportCommandsTest, SaveWritesTheReportOrKeepsIt) {
    Open(std::make_shared<FixedAligner>());
    struct Case {
        const char* what;
        std::optional<QString> answer;
        bool written;
    };
    const std::vector<Case> cases = {
        {"cancelled", std::nullopt, false},
        {"written", Folder("report.txt"), true},
        {"folder missing", Folder("missing/report.txt"), false},
        {"a folder in the way", Folder("left"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        box_->ClearReport();
        box_->AppendReport(kReport);
        dialogs_->errors.clear();
        dialogs_->saveAnswers = {c.answer};
        Click("Command2");
        if (c.written) {
            EXPECT_EQ(ReadFile(*c.answer), kReport);
            EXPECT_TRUE(box_->ReportText().empty());
            EXPECT_TRUE(box_->toPlainText().isEmpty());
            EXPECT_TRUE(dialogs_->errors.isEmpty());
        } else {
            EXPECT_EQ(box_->ReportText(), kReport);
            ASSERT_EQ(dialogs_->errors.size(), c.answer ? 1 : 0);
            if (c.answer) {
                EXPECT_TRUE(dialogs_->errors.front().contains(QFileInfo(*c.answer).fileName()));
            }
        }
    }
    EXPECT_EQ(QDir(work_.path()).entryList(QDir::Files), QStringList({"report.txt"}));
}

// Nothing starts and nothing is written when t_coffee is missing, when the open dialog of a ticked
// side is cancelled (each ticked side asks in turn) or when the chosen file cannot be read.
TEST_F(ReportCommandsTest, RunsThatCannotStartWriteNothing) {
    const QString file = Folder("three.fas");
    WriteFile(file, ">x\r\nACGT\r\n>y\r\nACGT\r\n>z\r\nACGT\r\n");
    struct Case {
        const char* what;
        const char* missing;
        bool tick1, tick2;
        std::deque<std::optional<QString>> answers;
        int asked;
        const char* error;  // what the one error message names, if there is one
    };
    const std::vector<Case> cases = {
        {"t_coffee missing", "t_coffee was not found; install it", true, false, {file}, 0, "t_coffee"},
        {"set 1 cancelled", "", true, false, {std::nullopt}, 1, nullptr},
        {"set 2 cancelled", "", false, true, {std::nullopt}, 1, nullptr},
        {"second of two cancelled", "", true, true, {file, std::nullopt}, 2, nullptr},
        {"unreadable file", "", true, false, {Folder("gone.fas")}, 1, "gone.fas"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto aligner = std::make_shared<FixedAligner>();
        aligner->missing = c.missing;
        Open(aligner);
        if (c.tick1) Click("Check1");
        if (c.tick2) Click("Check2");
        dialogs_->openAnswers = c.answers;
        Click("Command1");
        EXPECT_EQ(dialogs_->openAsked, c.asked);
        ASSERT_EQ(dialogs_->errors.size(), c.error ? 1 : 0);
        if (c.error) {
            EXPECT_TRUE(dialogs_->errors.front().contains(c.error)) << dialogs_->errors.front().toStdString();
        }
        EXPECT_FALSE(form_->RunInProgress());
        EXPECT_TRUE(box_->ReportText().empty());
        EXPECT_TRUE(Status().isEmpty());
        EXPECT_FALSE(QFileInfo::exists("query.bak"));
    }
}

}  // namespace
}  // namespace kadrel::ui::test
