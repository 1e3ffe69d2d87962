#include <QProcess>
#include <QProgressBar>
#include <signal.h>

#include <atomic>
#include <semaphore>

#include "WindowTest.h"
#include "align/TCoffeeAligner.h"

namespace kadrel::ui::test {
namespace {

// Holds every pair until the test lets it through, so that the test decides where a run stands.
struct GatedAligner : FixedAligner {
    AlignedPair Align(std::string_view a, std::string_view b, std::string_view name, std::stop_token stop) override {
        ++waiting;
        bool permitted = false;
        while (!(permitted = permits.try_acquire_for(std::chrono::milliseconds(5))) && !stop.stop_requested()) {
        }
        --waiting;
        if (!permitted) return {"", "", 0, "", "", false, "stopped"};
        return FixedAligner::Align(a, b, name, stop);
    }
    std::counting_semaphore<> permits{0};
    std::atomic<int> waiting = 0;
};

// The report without its first line, the banner, whose date differs from run to run.
std::string WithoutBanner(const std::string& report) { return report.substr(report.find("\r\n") + 2); }

// Whether process `pid` ends (is gone, or ended and not yet collected) within ten seconds. One
// that does not is killed, so that nothing is left behind for the next tests.
bool ProcessEnds(int pid) {
    for (int i = 0; i < 1000; ++i, QTest::qSleep(10)) {
        const std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
        if (stat.empty() || stat[stat.rfind(')') + 2] == 'Z') return true;
    }
    ::kill(pid, SIGKILL);
    return false;
}

// The window and the command line run the same comparison and must show the same report.
TEST_F(WindowTest, WindowReportEqualsTheCommandLineReport) {
    const QString file = QString::fromStdString(
        work_.Write("pair.fas", ">first one\r\nACGTACGTACGTTT\r\n>second\r\nACGAACGTACGT\r\n").string());
    struct Case {
        const char* option;
        QString set1, set2;  // set 1 is either a folder or the multiple-sequence file
        QStringList modelArguments;
        const char* progress;
    };
    const std::vector<Case> cases = {
        {nullptr, Folder("left"), Folder("right"), {}, "6 / 6 pairs"},
        {"Option2", file, Folder("right"), {"-m", "k2p"}, "6 / 6 pairs"},
        {"Option6", file, Folder("right"), {"-m", "logdet"}, "6 / 6 pairs"},
        {"Option2", file, Folder("right"), {"-m", "k2p", "--textbook"}, "6 / 6 pairs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.set1 + " " + c.set2 + " " + c.modelArguments.join(' ')).toStdString());
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

        QProcess compare;  // through the same stand-in t_coffee
        compare.start(KADREL_EXE, QStringList{"compare", c.set1, c.set2, "--no-backup"} + c.modelArguments);
        ASSERT_TRUE(compare.waitForFinished(60000));
        const std::string expected = compare.readAllStandardOutput().toStdString();
        const std::string& report = box_->ReportText();
        ASSERT_NE(expected.find("\r\nSeq1\t"), std::string::npos) << expected;
        EXPECT_EQ(WithoutBanner(report), WithoutBanner(expected));
        // What the box shows is what Save would write.
        EXPECT_EQ(box_->toPlainText().replace('\n', "\r\n").toStdString(), report);
        // The backup is the report as it stood after the last set-1 record.
        EXPECT_EQ(ReadText("query.bak"), report.substr(0, report.find("Best matches:")));
        // Not busy any more, and full.
        const auto* progress = Find<QProgressBar>("ProgressBar1");
        EXPECT_GT(progress->maximum(), 0);
        EXPECT_EQ(progress->value(), progress->maximum());
        EXPECT_EQ(progress->format(), QString::fromLatin1(c.progress));
    }
}

// While pairs are aligned the window answers only Pause, Save, Exit and Stop; Pause keeps only
// what follows; Stop ends the run at once, with the pair in work unfinished.
TEST_F(WindowTest, ARunningComparison) {
    GatedAligner* gate = nullptr;
    Open([&] {
        auto aligner = std::make_unique<GatedAligner>();
        gate = aligner.get();
        return aligner;
    });
    form_->SetConcurrentPairs(1);  // the permits go to the pairs in loop order
    ChooseFolders(Folder("left"), Folder("right"));
    Click("Command1");
    ASSERT_NE(gate, nullptr);
    const auto letThrough = [&](int pairs, const std::string& shown) {
        gate->permits.release(pairs);
        ASSERT_TRUE(QTest::qWaitFor([&] { return box_->ReportText().ends_with(shown) && gate->waiting == 1; }))
            << box_->ReportText();
    };
    letThrough(2, "a\tc\t10\t1\t0.1\t0\t0\t1\t0\r\n");
    for (const char* name : {"Command1", "Check1", "Check2", "Drive1", "Dir1", "File1", "Drive2", "Dir2", "File2",
                             "Option1", "Option2", "Option3", "Option4", "Option5", "Option6"})
        EXPECT_FALSE(Find(name)->isEnabled()) << name;
    for (const char* name : {"Command2", "Command3", "Command4", "CommandStop", "RichTextBox2"})
        EXPECT_TRUE(Find(name)->isEnabled()) << name;

    // A second Calculate, even sent past the disabled button, starts nothing.
    QMetaObject::invokeMethod(Find("Command1"), "clicked", Q_ARG(bool, false));
    QCoreApplication::processEvents();
    EXPECT_EQ(box_->ReportText().find("Comparisons by", 1), std::string::npos);

    Click("Command3");
    EXPECT_TRUE(box_->toPlainText().isEmpty());
    letThrough(1, "b\ta\t10\t1\t0.1\t0\t0\t1\t0\r\n");

    QSignalSpy finished(form_.get(), &Form1::RunFinished);
    Click("CommandStop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }));
    EXPECT_EQ(Status(), QStringLiteral("stopped"));
    EXPECT_EQ(box_->ReportText(), "b\ta\t10\t1\t0.1\t0\t0\t1\t0\r\nBest matches:\r\na\tb\t0.1\r\nb\ta\t0.1\r\n");
    const auto* bar = Find<QProgressBar>("ProgressBar1");
    EXPECT_EQ(bar->format(), QStringLiteral("3 / 6 pairs"));  // no time left shown
    EXPECT_EQ((bar->value() - bar->minimum()) * 2, bar->maximum() - bar->minimum()) << "the bar is not half full";
    for (const char* name : {"Command1", "Check1", "Drive1", "Dir1", "File1", "Option6"})
        EXPECT_TRUE(Find(name)->isEnabled()) << name;
    EXPECT_FALSE(Find("CommandStop")->isEnabled());
}

TEST_F(WindowTest, FailingBackupWarnsOnceAndTheRunGoesOn) {
    fs::create_directory("query.bak");
    Open();
    ChooseFolders(Folder("left"), Folder("right"));
    CalculateAndWait();
    EXPECT_EQ(Status(), QStringLiteral("done"));
    ASSERT_EQ(dialogs_->warnings.size(), 1) << dialogs_->warnings.join("\n").toStdString();
    EXPECT_TRUE(dialogs_->warnings.front().contains("query.bak"));
    EXPECT_NE(box_->ReportText().find("Best matches:"), std::string::npos);
}

// Exit ends a run at once: the t_coffee of the pair in work is killed, not waited for.
TEST_F(WindowTest, ExitKillsTheRunningAligner) {
    work_.Write("hold/a.fas", ">a\nACHOLDGT\n");
    const auto held = work_ / "aligner.pid";
    qputenv("FAKE_TCOFFEE_HOLD", held.c_str());
    Open([] { return std::make_unique<TCoffeeAligner>(); });
    form_->SetConcurrentPairs(1);
    ChooseFolders(Folder("hold"), Folder("right"));
    Click("Command1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ReadText(held).empty(); }, 20000));
    Click("Command4");
    EXPECT_FALSE(form_->isVisible());
    EXPECT_TRUE(ProcessEnds(std::stoi(ReadText(held))));
}

}  // namespace
}  // namespace kadrel::ui::test
