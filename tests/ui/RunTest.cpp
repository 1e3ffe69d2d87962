#include <QCheckBox>
#include <QFile>
#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <atomic>
#include <csignal>

#include "WindowTestSupport.h"
#include "align/TCoffeeAligner.h"
#include "ui/ReportBox.h"

namespace kadrel::ui::test {
namespace {

class RunTest : public WindowTest {
protected:
    void TearDown() override {
        if (gate_) gate_->Permit(1000);  // a failed test must not leave the run waiting
        form_.reset();
        WindowTest::TearDown();
    }

    // A window whose every pair waits for the test.
    void OpenGatedWindow() {
        gate_ = std::make_shared<GatedAligner>();
        form_ = MakeWindow(gate_);
        form_->SetConcurrentPairs(1);  // one pair at a time, so the permits go to the pairs in order
        box_ = Find<ReportBox>(*form_, "RichTextBox2");
        ChooseFolders(*form_, Folder("left"), Folder("right"));
    }

    QString Status() const { return form_->findChild<QLabel*>("Label1")->text(); }
    bool Enabled(const char* name) const { return form_->findChild<QWidget*>(name)->isEnabled(); }
    void Click(const char* name) { Find<QPushButton>(*form_, name)->click(); }

    // Lets `pairs` more pairs through and waits until their rows are in the box.
    void LetPairsThrough(int pairs, std::size_t rowsExpected) {
        gate_->Permit(pairs);
        ASSERT_TRUE(WaitFor([&] { return RowsShown() >= rowsExpected; })) << box_->ReportText();
    }
    std::size_t RowsShown() const {
        std::size_t rows = 0;
        for (std::size_t at = 0; (at = box_->ReportText().find("\t10\t", at)) != std::string::npos; ++at) ++rows;
        return rows;
    }

    std::shared_ptr<GatedAligner> gate_;
    std::unique_ptr<Form1> form_;
    ReportBox* box_ = nullptr;
};

// The report of `kadrel compare` for the same sets, through the same fake t_coffee.
std::string CompareReport(const QStringList& arguments) {
    QProcess compare;
    compare.start(QStringLiteral(KADREL_EXE), QStringList{"compare"} + arguments);
    if (!compare.waitForFinished(60000)) return "kadrel compare did not finish";
    return compare.readAllStandardOutput().toStdString();
}

// The window and the command line run the same comparison and must show the same report.
TEST_F(RunTest, WindowReportEqualsTheCommandLineReport) {
    const QString file = Folder("pair.fas");
    WriteFile(file, ">first one\r\nACGTACGTACGTTT\r\n>second\r\nACGAACGTACGT\r\n");
    struct Case {
        const char* what;
        const char* option;
        bool tick1;
        QStringList compareArguments;
    };
    const std::vector<Case> cases = {
        {"two folders, no model", nullptr, false, {Folder("left"), Folder("right")}},
        {"file against folder, K2P", "Option2", true, {file, Folder("right"), "-m", "k2p"}},
        {"file against folder, LogDet", "Option6", true, {file, Folder("right"), "-m", "logdet"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form_ = MakeWindow([] { return std::make_unique<TCoffeeAligner>(); });
        box_ = Find<ReportBox>(*form_, "RichTextBox2");
        ChooseFolders(*form_, Folder("left"), Folder("right"));
        if (c.option) Find<QAbstractButton>(*form_, c.option)->click();
        if (c.tick1) {
            Find<QCheckBox>(*form_, "Check1")->click();
            dialogs_->openAnswers = {file};
        }
        CalculateAndWait(*form_);
        EXPECT_EQ(Status(), QStringLiteral("done"));
        EXPECT_TRUE(dialogs_->errors.isEmpty()) << dialogs_->errors.join("\n").toStdString();

        const std::string expected = CompareReport(c.compareArguments + QStringList{"--no-backup"});
        ASSERT_FALSE(WithoutBanner(expected).empty()) << expected;
        EXPECT_EQ(WithoutBanner(box_->ReportText()), WithoutBanner(expected));
        EXPECT_EQ(ShownText(*form_), box_->ReportText());

        // The backup is the report as it stood after the last set-1 record.
        const std::string report = box_->ReportText();
        EXPECT_EQ(ReadFile("query.bak"), report.substr(0, report.find("Best matches:")));

        const auto* progress = Find<QProgressBar>(*form_, "ProgressBar1");
        EXPECT_EQ(progress->value(), progress->maximum());
    }
}

TEST_F(RunTest, DuringARunOnlyPauseSaveExitAndStopAnswer) {
    OpenGatedWindow();
    Click("Command1");
    ASSERT_TRUE(WaitFor([&] { return gate_->Waiting() == 1; }));
    for (const char* name : {"Command1", "Check1", "Check2", "Drive1", "Dir1", "File1", "Drive2", "Dir2", "File2",
                             "Option1", "Option2", "Option3", "Option4", "Option5", "Option6"})
        EXPECT_FALSE(Enabled(name)) << name;
    for (const char* name : {"Command2", "Command3", "Command4", "CommandStop", "RichTextBox2"})
        EXPECT_TRUE(Enabled(name)) << name;

    // A second Calculate, even sent past the disabled button, starts nothing.
    ASSERT_TRUE(WaitFor([&] { return box_->ReportText().find("Seq1\t") != std::string::npos; }));
    const std::string before = box_->ReportText();
    QMetaObject::invokeMethod(Find<QPushButton>(*form_, "Command1"), "clicked", Q_ARG(bool, false));
    QCoreApplication::processEvents();
    EXPECT_EQ(box_->ReportText(), before);
    EXPECT_EQ(box_->ReportText().find("Comparisons by", 1), std::string::npos);

    LetPairsThrough(6, 6);
    ASSERT_TRUE(WaitFor([&] { return !form_->RunInProgress(); }));
    EXPECT_EQ(Status(), QStringLiteral("done"));
    for (const char* name : {"Command1", "Check1", "Drive1", "Dir1", "File1", "Option6"}) EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_FALSE(Enabled("CommandStop"));
}

TEST_F(RunTest, StopEndsTheRunWithTheRowsDone) {
    OpenGatedWindow();
    Click("Command1");
    LetPairsThrough(2, 2);
    ASSERT_TRUE(WaitFor([&] { return gate_->Waiting() == 1; }));
    QSignalSpy finished(form_.get(), &Form1::RunFinished);
    Click("CommandStop");
    ASSERT_TRUE(WaitFor([&] { return finished.count() == 1; }));
    EXPECT_TRUE(gate_->SawStop());
    EXPECT_EQ(Status(), QStringLiteral("stopped"));
    EXPECT_NE(box_->ReportText().find("Best matches:"), std::string::npos);
    EXPECT_TRUE(Enabled("Command1"));
    const auto* progress = Find<QProgressBar>(*form_, "ProgressBar1");
    EXPECT_EQ(progress->format(), QStringLiteral("2 / 6 pairs"));  // no time left for a run that ended
}

TEST_F(RunTest, EmptySetEndsDoneWithNoPairs) {
    ASSERT_TRUE(QDir(work_.path()).mkdir("empty"));
    form_ = MakeWindow(std::make_shared<FixedAligner>());
    ChooseFolders(*form_, Folder("empty"), Folder("right"));
    CalculateAndWait(*form_);
    EXPECT_EQ(Status(), QStringLiteral("done"));
    const std::string& report = Find<ReportBox>(*form_, "RichTextBox2")->ReportText();
    EXPECT_EQ(WithoutBanner(WithoutBanner(report)), "Best matches:\r\n");
    const auto* progress = Find<QProgressBar>(*form_, "ProgressBar1");
    EXPECT_GT(progress->maximum(), 0) << "still busy";
    EXPECT_EQ(progress->format(), QStringLiteral("0 / 0 pairs"));
}

// Pause under a running comparison: the box keeps only what came after.
TEST_F(RunTest, PauseDuringARunKeepsOnlyWhatFollows) {
    StringSink full;
    FixedAligner fixed;
    RunOptions options;
    options.bannerDate = "date";
    RunComparison(ReadSequenceSet(1, Folder("left").toStdString()), ReadSequenceSet(2, Folder("right").toStdString()),
                  options, fixed, full, {});

    OpenGatedWindow();
    Click("Command1");
    LetPairsThrough(3, 3);
    Click("Command3");
    EXPECT_TRUE(box_->ReportText().empty());
    gate_->Permit(3);
    ASSERT_TRUE(WaitFor([&] { return !form_->RunInProgress(); }));

    // Everything from the fourth row on, and nothing before it.
    const std::string& after = box_->ReportText();
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(full.text.substr(full.text.size() - after.size()), after);
    const std::size_t fourthRow = [&] {
        std::size_t at = full.text.find("\r\n", full.text.find("\r\n") + 2) + 2;  // after the header
        for (int row = 0; row < 3; ++row) at = full.text.find("\r\n", at) + 2;
        return at;
    }();
    EXPECT_EQ(after, full.text.substr(fourthRow));
}

TEST_F(RunTest, WindowKeepsHandlingEventsWhileThePairIsAligned) {
    OpenGatedWindow();
    Click("Command1");
    ASSERT_TRUE(WaitFor([&] { return gate_->Waiting() == 1; }));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    EXPECT_TRUE(WaitFor([&] { return ticks >= 3; }));
    EXPECT_EQ(gate_->Waiting(), 1);
    EXPECT_TRUE(form_->RunInProgress());
}

TEST_F(RunTest, FailingBackupWarnsOnceAndTheRunGoesOn) {
    ASSERT_TRUE(QDir(work_.path()).mkdir("query.bak"));
    form_ = MakeWindow(std::make_shared<FixedAligner>());
    ChooseFolders(*form_, Folder("left"), Folder("right"));
    CalculateAndWait(*form_);
    EXPECT_EQ(Status(), QStringLiteral("done"));
    ASSERT_EQ(dialogs_->warnings.size(), 1) << dialogs_->warnings.join("\n").toStdString();
    EXPECT_TRUE(dialogs_->warnings.front().contains("query.bak"));
    EXPECT_NE(Find<ReportBox>(*form_, "RichTextBox2")->ReportText().find("Best matches:"), std::string::npos);
}

bool ProcessEnded(int pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";  // ended, not yet collected
}

// Exit ends a run at once: the t_coffee of the pair in work is killed, not waited for.
TEST_F(RunTest, ExitKillsTheRunningAligner) {
    const QString hold = Folder("aligner.pid");
    qputenv("KADREL_FAKE_ALIGNER_HOLD", hold.toLocal8Bit());
    form_ = MakeWindow([] { return std::make_unique<TCoffeeAligner>(); });
    form_->SetConcurrentPairs(1);
    ChooseFolders(*form_, Folder("left"), Folder("right"));
    Click("Command1");
    std::string pidText;
    const bool started = WaitFor([&] { return !(pidText = ReadFile(hold)).empty(); });
    qunsetenv("KADREL_FAKE_ALIGNER_HOLD");
    ASSERT_TRUE(started);
    const int pid = std::stoi(pidText);

    Click("Command4");
    EXPECT_FALSE(form_->isVisible());
    const bool killed = WaitFor([&] { return ProcessEnded(pid); });
    if (!killed) ::kill(pid, SIGKILL);  // leave no aligner behind for the next tests
    EXPECT_TRUE(killed);
    form_.reset();
}

}  // namespace
}  // namespace kadrel::ui::test
