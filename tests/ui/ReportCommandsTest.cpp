#include "WindowTest.h"

namespace kadrel::ui::test {
namespace {

// Save writes the box's bytes as they stand and empties it only once the file is written.
TEST_F(WindowTest, SaveWritesTheReportOrKeepsIt) {
    const std::string report = "Comparisons by\tx\r\nSeq1\tSeq2\t\r\nna\xc3\xafve\t\xa0name\t0.25\r\n";
    Open();
    const std::vector<std::pair<std::optional<QString>, bool>> cases = {
        {std::nullopt, false}, {Folder("report.txt"), true}, {Folder("missing/report.txt"), false},
        {Folder("left"), false},
    };  // the dialog's answer; whether the file is written
    for (const auto& [answer, written] : cases) {
        SCOPED_TRACE(answer.value_or("cancelled").toStdString());
        box_->ClearReport();
        box_->AppendReport(report);
        dialogs_->errors.clear();
        dialogs_->saveAnswers = {answer};
        Click("Command2");
        EXPECT_EQ(box_->ReportText(), written ? "" : report);
        EXPECT_EQ(box_->toPlainText().isEmpty(), written);
        if (written) {
            EXPECT_EQ(ReadText(answer->toStdString()), report);
        }
        // A failed write names the file; a cancelled dialog says nothing.
        const bool failed = answer && !written;
        ASSERT_EQ(dialogs_->errors.size(), failed ? 1 : 0);
        if (failed) {
            EXPECT_TRUE(dialogs_->errors.front().contains(answer->section('/', -1)));
        }
    }
    EXPECT_EQ(QDir(Folder("")).entryList(QDir::Files), QStringList({"report.txt"}));
}

// Nothing starts and nothing is written when t_coffee is missing, when the open dialog of a ticked
// side is cancelled (each ticked side asks in turn) or when the chosen file cannot be read.
TEST_F(WindowTest, RunsThatCannotStartWriteNothing) {
    const QString file = QString::fromStdString(work_.Write("two.fas", ">x\r\nAC\r\n>y\r\nAC\r\n").string());
    struct Case {
        const char* missing;
        bool tick1, tick2;
        std::deque<std::optional<QString>> answers;
        int asked;
        const char* error;  // what the one error message names, if there is one
    };
    const std::vector<Case> cases = {
        {"t_coffee was not found; install it", true, false, {file}, 0, "t_coffee"},
        {"", true, false, {std::nullopt}, 1, nullptr},
        {"", false, true, {std::nullopt}, 1, nullptr},
        {"", true, true, {file, std::nullopt}, 2, nullptr},
        {"", true, false, {Folder("gone.fas")}, 1, "gone.fas"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tick1 << c.tick2 << c.asked << c.missing);
        Open([&] {
            auto aligner = std::make_unique<FixedAligner>();
            aligner->missing = c.missing;
            return aligner;
        });
        if (c.tick1) Click("Check1");
        if (c.tick2) Click("Check2");
        dialogs_->openAnswers = c.answers;
        Click("Command1");
        EXPECT_EQ(dialogs_->openAsked, c.asked);
        ASSERT_EQ(dialogs_->errors.size(), c.error ? 1 : 0);
        EXPECT_TRUE(dialogs_->errors.join("").contains(c.error ? c.error : "")) << qPrintable(dialogs_->errors[0]);
        EXPECT_FALSE(form_->RunInProgress());
        EXPECT_TRUE(box_->ReportText().empty());
        EXPECT_TRUE(Status().isEmpty());
        EXPECT_FALSE(fs::exists("query.bak"));
    }
}

}  // namespace
}  // namespace kadrel::ui::test
