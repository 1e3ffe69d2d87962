#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>
#include <condition_variable>
#include <csignal>
#include <mutex>

#include "WindowTestSupport.h"
#include "align/TCoffeeAligner.h"

namespace kadrel::ui::test {
namespace {

// Holds every pair until the test lets it through, so a test decides where a run stands.
class GatedAligner : public FixedAligner {
public:
    AlignedPair Align(std::string_view a, std::string_view b, std::string_view name, std::stop_token stop) override {
        std::unique_lock lock(mutex_);
        ++waiting_;
        const bool permitted = changed_.wait(lock, stop, [this] { return permits_ > 0; });
        --waiting_;
        if (!permitted) return {"", "", 0, "", "", false, "stopped"};
        --permits_;
        return FixedAligner::Align(a, b, name, stop);
    }
    void Permit(int pairs) {
        std::lock_guard lock(mutex_);
        permits_ += pairs;
        changed_.notify_all();
    }
    int Waiting() const {
        std::lock_guard lock(mutex_);
        return waiting_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    int permits_ = 0;
    int waiting_ = 0;
};

class RunTest : public WindowTest {
protected:
    // A window on the two sets whose every pair waits for the test.
    void OpenGated() {
        gate_ = std::make_shared<GatedAligner>();
        Open(gate_);
        form_->SetConcurrentPairs(1);  // one pair at a time, so the permits go to the pairs in order
        ChooseFolders(Folder("left"), Folder("right"));
    }
    bool Enabled(const char* name) const { return Find(name)->isEnabled(); }

    // Lets `pairs` more pairs through and waits until `rows` rows are in the box.
    void LetPairsThrough(int pairs, std::size_t rows) {
        gate_->Permit(pairs);
        ASSERT_TRUE(WaitFor([&] { return RowsShown() >= rows; })) << box_->ReportText();
    }
    std::size_t RowsShown() const {
        std::size_t rows = 0;
        for (std::size_t at = 0; (at = box_->ReportText().find("\t10\t", at)) != std::string::npos; ++at) ++rows;
        return rows;
    }

    std::shared_ptr<GatedAligner> gate_;
};

// The report of `kadrel compare` for the same sets, through the same fake t_coffee.
std::string CompareReport(const QStringList& arguments) {
    QProcess compare;
    compare.start(QStringLiteral(KADREL_EXE), QStringList{"compare"} + arguments);
    if (!compare.waitForFinished(60000)) return "kadrel compare did not finish";
    return compare.readAllStandardOutput().toStdString();
}

// The report without its first line, the banner, whose date differs from run to run.
std::string WithoutBanner(const std::string& report) {
    const auto end = report.find("\r\n");
    return end == std::string::npos ? std::string() : report.substr(end + 2);
}

// The window and the command line run the same comparison and must show the same report.
TEST_F(RunTest, WindowReportEqualsTheCommandLineReport) {
    const QString file = Folder("pair.fas");
    WriteFile(file, ">first one\r\nACGTACGTACGTTT\r\n>second\r\nACGAACGTACGT\r\n");
    ASSERT_TRUE(QDir(work_.path()).mkdir("empty"));
    struct Case {
        const char* what;
        const char* option;
        QString set1, set2;  // set 1 is either a folder or the multiple-sequence file
        QStringList modelArguments;
        const char* progress;
    };
    const std::vector<Case> cases = {
        {"two folders, no model", nullptr, Folder("left"), Folder("right"), {}, "6 / 6 pairs"},
        {"file against folder, K2P", "Option2", file, Folder("right"), {"-m", "k2p"}, "6 / 6 pairs"},
        {"file against folder, LogDet", "Option6", file, Folder("right"), {"-m", "logdet"}, "6 / 6 pairs"},
        {"file against folder, published K2P", "Option2", file, Folder("right"), {"-m", "k2p", "--textbook"}, "6 / 6 pairs"},
        {"folder against an empty folder", nullptr, Folder("left"), Folder("empty"), {}, "0 / 0 pairs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open([] { return std::make_unique<TCoffeeAligner>(); });
        ChooseFolders(Folder("left"), c.set2);
        if (c.option) Click(c.option);
        if (c.modelArguments.contains("--textbook")) Click("CheckTextbook");
        if (c.set1 == file) {
            Click("Check1");
            dialogs_->openAnswers = {file};
        }
        CalculateAndWait();
        EXPECT_EQ(Status(), QStringLiteral("done"));
        EXPECT_TRUE(dialogs_->errors.isEmpty()) << dialogs_->errors.join("\n").toStdString();

        const std::string expected = CompareReport(QStringList{c.set1, c.set2, "--no-backup"} + c.modelArguments);
        const std::string& report = box_->ReportText();
        ASSERT_FALSE(WithoutBanner(expected).empty()) << expected;
        EXPECT_EQ(WithoutBanner(report), WithoutBanner(expected));
        // What the box shows is what Save would write.
        EXPECT_EQ(box_->toPlainText().replace('\n', "\r\n").toStdString(), report);
        // The backup is the report as it stood after the last set-1 record.
        EXPECT_EQ(ReadFile("query.bak"), report.substr(0, report.find("Best matches:")));

        // Not busy any more, and full.
        const auto* progress = Find<QProgressBar>("ProgressBar1");
        EXPECT_GT(progress->maximum(), 0);
        EXPECT_EQ(progress->value(), progress->maximum());
        EXPECT_EQ(progress->format(), QString::fromLatin1(c.progress));
    }
}

// While a pair is aligned the window goes on handling events and answers only Pause, Save, Exit
// and Stop.
TEST_F(RunTest, DuringARunOnlyPauseSaveExitAndStopAnswer) {
    OpenGated();
    Click("Command1");
    LetPairsThrough(2, 2);
    ASSERT_TRUE(WaitFor([&] { return gate_->Waiting() == 1; }));
    for (const char* name : {"Command1", "Check1", "Check2", "Drive1", "Dir1", "File1", "Drive2", "Dir2", "File2",
                             "Option1", "Option2", "Option3", "Option4", "Option5", "Option6"})
        EXPECT_FALSE(Enabled(name)) << name;
    for (const char* name : {"Command2", "Command3", "Command4", "CommandStop", "RichTextBox2"})
        EXPECT_TRUE(Enabled(name)) << name;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    EXPECT_TRUE(WaitFor([&] { return ticks >= 3; }));

    // A second Calculate, even sent past the disabled button, starts nothing.
    const std::string before = box_->ReportText();
    QMetaObject::invokeMethod(Find("Command1"), "clicked", Q_ARG(bool, false));
    QCoreApplication::processEvents();
    EXPECT_EQ(box_->ReportText(), before);
    EXPECT_EQ(before.find("Comparisons by", 1), std::string::npos);
    EXPECT_EQ(gate_->Waiting(), 1);

    // Stop ends the run with the pair in work unfinished: the gate never lets it through.
    QSignalSpy finished(form_.get(), &Form1::RunFinished);
    Click("CommandStop");
    ASSERT_TRUE(WaitFor([&] { return finished.count() == 1; }));
    EXPECT_EQ(Status(), QStringLiteral("stopped"));
    EXPECT_NE(box_->ReportText().find("Best matches:"), std::string::npos);
    // No time left is shown for a run that ended.
    EXPECT_EQ(Find<QProgressBar>("ProgressBar1")->format(), QStringLiteral("2 / 6 pairs"));
    for (const char* name : {"Command1", "Check1", "Drive1", "Dir1", "File1", "Option6"}) EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_FALSE(Enabled("CommandStop"));
}

// Pause under a running comparison: the box keeps only what came after. After a Pause the next
// run's report starts at the top of the box.
TEST_F(RunTest, PauseDuringARunKeepsOnlyWhatFollows) {
    OpenGated();
    Click("Command1");
    LetPairsThrough(3, 3);
    Click("Command3");
    EXPECT_TRUE(box_->ReportText().empty());
    EXPECT_TRUE(box_->toPlainText().isEmpty());
    gate_->Permit(3);
    ASSERT_TRUE(WaitFor([&] { return !form_->RunInProgress(); }));
    const std::string after = box_->ReportText();

    // The same run unpaused: what the paused one kept is everything from its fourth row on.
    Click("Command3");
    gate_->Permit(6);
    CalculateAndWait();
    const std::string& full = box_->ReportText();
    EXPECT_EQ(full.rfind("Comparisons by Orvo   ", 0), 0u) << full;
    std::size_t fourthRow = full.find("\r\n", full.find("\r\n") + 2) + 2;  // after the banner and the header
    for (int row = 0; row < 3; ++row) fourthRow = full.find("\r\n", fourthRow) + 2;
    EXPECT_EQ(after, full.substr(fourthRow));
}

TEST_F(RunTest, FailingBackupWarnsOnceAndTheRunGoesOn) {
    ASSERT_TRUE(QDir(work_.path()).mkdir("query.bak"));
    Open(std::make_shared<FixedAligner>());
    ChooseFolders(Folder("left"), Folder("right"));
    CalculateAndWait();
    EXPECT_EQ(Status(), QStringLiteral("done"));
    ASSERT_EQ(dialogs_->warnings.size(), 1) << dialogs_->warnings.join("\n").toStdString();
    EXPECT_TRUE(dialogs_->warnings.front().contains("query.bak"));
    EXPECT_NE(box_->ReportText().find("Best matches:"), std::string::npos);
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
    Open([] { return std::make_unique<TCoffeeAligner>(); });
    form_->SetConcurrentPairs(1);
    ChooseFolders(Folder("left"), Folder("right"));
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
}

}  // namespace
}  // namespace kadrel::ui::test
