#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "WindowTestSupport.h"
#include "ui/ReportBox.h"

namespace kadrel::ui::test {
namespace {

class ReportCommandsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form_ = MakeWindow(std::make_shared<FixedAligner>());
        box_ = Find<ReportBox>(*form_, "RichTextBox2");
    }
    void TearDown() override {
        form_.reset();
        WindowTest::TearDown();
    }

    std::unique_ptr<Form1> form_;
    ReportBox* box_ = nullptr;
};

class MissingAligner : public Aligner {
public:
    AlignedPair Align(std::string_view, std::string_view, std::string_view, std::stop_token) override { return {}; }
    std::string CheckAvailable() const override { return "t_coffee was not found; install it with: apt install t-coffee"; }
};

const std::string kReport = "Comparisons by\tx\r\nSeq1\tSeq2\t\r\nna\xc3\xafve\t\xa0name\t0.25\r\n";

TEST_F(ReportCommandsTest, PauseEmptiesTheBoxAndTheNextRunStartsAtTheTop) {
    ChooseFolders(*form_, Folder("left"), Folder("right"));
    box_->AppendReport(kReport);
    Find<QPushButton>(*form_, "Command3")->click();
    EXPECT_TRUE(box_->ReportText().empty());
    EXPECT_TRUE(box_->toPlainText().isEmpty());

    CalculateAndWait(*form_);
    EXPECT_EQ(box_->ReportText().rfind("Comparisons by Orvo   ", 0), 0u) << box_->ReportText();
}

// Save writes the box as it stands and empties it only once the file is written.
TEST_F(ReportCommandsTest, SaveWritesTheReportOrKeepsIt) {
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
        Find<QPushButton>(*form_, "Command2")->click();
        if (c.written) {
            EXPECT_EQ(ReadFile(*c.answer), kReport);
            EXPECT_TRUE(box_->ReportText().empty());
            EXPECT_TRUE(dialogs_->errors.isEmpty());
        } else {
            EXPECT_EQ(box_->ReportText(), kReport);
            EXPECT_EQ(dialogs_->errors.size(), c.answer ? 1 : 0);
            if (c.answer) {
                EXPECT_TRUE(dialogs_->errors.value(0).contains(QFileInfo(*c.answer).fileName()));
            }
        }
    }
    EXPECT_EQ(QDir(work_.path()).entryList(QDir::Files), QStringList({"report.txt"}));
}

TEST_F(ReportCommandsTest, SavedFileHoldsWhatTheBoxShowsWithCrLf) {
    ChooseFolders(*form_, Folder("left"), Folder("right"));
    Find<QAbstractButton>(*form_, "Option2")->click();
    CalculateAndWait(*form_);
    const std::string shown = ShownText(*form_);
    ASSERT_NE(shown.find("\tK2P-dist.\r\n"), std::string::npos) << shown;

    dialogs_->saveAnswers = {Folder("saved.txt")};
    Find<QPushButton>(*form_, "Command2")->click();
    EXPECT_EQ(ReadFile(Folder("saved.txt")), shown);
    EXPECT_TRUE(box_->toPlainText().isEmpty());
}

TEST_F(ReportCommandsTest, MissingAlignerIsReportedBeforeAnythingIsWritten) {
    form_ = MakeWindow(std::make_shared<MissingAligner>());
    box_ = Find<ReportBox>(*form_, "RichTextBox2");
    Find<QCheckBox>(*form_, "Check1")->click();
    Find<QPushButton>(*form_, "Command1")->click();
    ASSERT_EQ(dialogs_->errors.size(), 1);
    EXPECT_TRUE(dialogs_->errors.front().contains("t_coffee"));
    EXPECT_EQ(dialogs_->openAsked, 0);
    EXPECT_FALSE(form_->RunInProgress());
    EXPECT_TRUE(box_->ReportText().empty());
}

// A ticked side asks for its file first; cancelling any of them cancels the run.
TEST_F(ReportCommandsTest, CancelledOpenDialogCancelsTheRun) {
    const QString file = Folder("three.fas");
    WriteFile(file, ">x\r\nACGT\r\n>y\r\nACGT\r\n>z\r\nACGT\r\n");
    struct Case {
        const char* what;
        bool tick1, tick2;
        std::deque<std::optional<QString>> answers;
        int asked;
    };
    const std::vector<Case> cases = {
        {"set 1 cancelled", true, false, {std::nullopt}, 1},
        {"set 2 cancelled", false, true, {std::nullopt}, 1},
        {"second of two cancelled", true, true, {file, std::nullopt}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* check1 = Find<QCheckBox>(*form_, "Check1");
        auto* check2 = Find<QCheckBox>(*form_, "Check2");
        if (check1->isChecked() != c.tick1) check1->click();
        if (check2->isChecked() != c.tick2) check2->click();
        dialogs_->openAsked = 0;
        dialogs_->openAnswers = c.answers;
        Find<QPushButton>(*form_, "Command1")->click();
        EXPECT_EQ(dialogs_->openAsked, c.asked);
        EXPECT_FALSE(form_->RunInProgress());
        EXPECT_TRUE(box_->ReportText().empty());
        EXPECT_TRUE(Find<QLabel>(*form_, "Label1")->text().isEmpty());
        EXPECT_FALSE(QFileInfo::exists("query.bak"));
    }
}

TEST_F(ReportCommandsTest, UnreadableFileIsNamedAndNothingIsWritten) {
    Find<QCheckBox>(*form_, "Check1")->click();
    dialogs_->openAnswers = {Folder("gone.fas")};
    Find<QPushButton>(*form_, "Command1")->click();
    ASSERT_EQ(dialogs_->errors.size(), 1);
    EXPECT_TRUE(dialogs_->errors.front().contains("gone.fas")) << dialogs_->errors.front().toStdString();
    EXPECT_FALSE(form_->RunInProgress());
    EXPECT_TRUE(box_->ReportText().empty());
}

}  // namespace
}  // namespace kadrel::ui::test
