// Runs in the window: the same report as the command line, stopping, pausing, the backup.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <random>
#include <semaphore>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "WindowTest.h"
#include "align/tcoffee/TCoffeeAligner.h"
#include "distances/PairRow.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/FolderList.h"
#include "ui/MainWindow.h"
#include "ui/QueuedReportSink.h"
#include "ui/ReportBox.h"


namespace kadrel::ui::test {
namespace {

// Holds every pair until the test lets it through, so that the test decides where a run stands.
struct GatedAligner : FixedAligner {
    AlignedPair Align(std::string_view a, std::string_view b, std::string_view name, std::stop_token stop) override {
        ++waiting;
        while (!permits.try_acquire_for(std::chrono::milliseconds(5)))
            if (stop.stop_requested()) return --waiting, AlignedPair{"", "", 0, "", "", false, "stopped"};
        --waiting;
        return FixedAligner::Align(a, b, name, stop);
    }
    std::counting_semaphore<> permits{0};
    std::atomic<int> waiting = 0;
};

// Whether process `pid` ends (is gone, or ended and not yet collected) within ten seconds. One
// that does not is killed, so that nothing is left behind for the next tests.
bool ProcessEnds(int pid) {
    const auto ended = [stat = "/proc/" + std::to_string(pid) + "/stat"] {
        // A process that ends while its stat is read makes the read fail: it has ended.
        std::string text;
        try {
            text = ReadText(stat);
        } catch (const std::exception&) {
            return true;
        }
        return text.empty() || text[text.rfind(')') + 2] == 'Z';
    };
    return QTest::qWaitFor(ended, 10000) || (::kill(pid, SIGKILL), false);
}

// The window and the command line run the same comparison, through the same stand-in t_coffee or
// the built-in aligner, and must show the same report. A backup that cannot be written is warned
// of once, and the run goes on.
TEST_F(WindowTest, WindowReportEqualsTheCommandLineReport) {
    const QString file = QString::fromStdString(
        work_.Write("pair.fas", ">first one\r\nACGTACGTACGTTT\r\n>second\r\nACGAACGTACGT\r\n").string());
    struct Case {
        const char* option;
        QString set1, set2;  // set 1 is either a folder or the multiple-sequence file
        QStringList arguments;
        bool backupBlocked = false;
    };
    const std::vector<Case> cases = {
        {nullptr, Folder("left"), Folder("right"), {}},
        {"Option2", file, Folder("right"), {"-m", "k2p"}},
        {"Option6", file, Folder("right"), {"-m", "logdet"}},
        {"Option2", file, Folder("right"), {"-m", "k2p", "--textbook"}},
        {nullptr, file, Folder("right"), {"--textbook"}},
        {"Option2", file, Folder("right"), {"-m", "k2p", "-a", "builtin"}},
        {"Option2", file, Folder("right"), {"-m", "k2p", "-a", "pairhmm"}},
        {nullptr, Folder("left"), Folder("right"), {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.set1 + " " + c.set2 + " " + c.arguments.join(' ')).toStdString());
        Open([] { return std::make_unique<TCoffeeAligner>(); });
        ChooseFolders(Folder("left"), c.set2);
        if (c.option) Click(c.option);
        if (c.arguments.contains("--textbook")) Click("CheckTextbook");
        auto* aligner = Find<QComboBox>("AlignerChoice");
        if (const auto a = c.arguments.indexOf("-a"); a >= 0) aligner->setCurrentIndex(aligner->findData(c.arguments[a + 1]));
        if (c.set1 == file) {
            dialogs_->openAnswers = {file};
            Click("Check1");
        }
        if (c.backupBlocked) fs::remove("query.bak"), fs::create_directory("query.bak");
        QSignalSpy finished(form_.get(), &MainWindow::RunFinished);
        Click("Command1");
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() > 0; }, 20000)) << "the run did not finish";
        EXPECT_EQ(Find<QLabel>("Label1")->text(), "done") << dialogs_->errors.join("\n").toStdString();

        QProcess compare;
        compare.start(KADREL_EXE, QStringList{"compare", c.set1, c.set2, "--no-backup"} + c.arguments);
        ASSERT_TRUE(compare.waitForFinished(60000));
        const std::string expected = compare.readAllStandardOutput().toStdString();
        const std::string& report = box_->ReportText();
        ASSERT_NE(expected.find("\r\nSeq1\t"), std::string::npos) << expected;
        // All but the first line, the banner, whose date differs from run to run.
        EXPECT_EQ(report.substr(report.find("\r\n")), expected.substr(expected.find("\r\n")));
        EXPECT_EQ(box_->toPlainText().replace('\n', "\r\n").toStdString(), report);  // what Save writes
        // The backup is the report as it stood after the last set-1 record.
        if (c.backupBlocked) {
            // Both folders hold a.fas, b.fas and c.fas: the window says so once the run is done.
            ASSERT_EQ(dialogs_->warnings.size(), 2) << dialogs_->warnings.join("\n").toStdString();
            EXPECT_TRUE(dialogs_->warnings.front().contains("query.bak"));
            EXPECT_EQ(dialogs_->warnings.back(), "3 pairs skipped (the same file in both folder sets: a.fas, b.fas, c.fas)");
        } else {
            // Less the tag of the run that the backup's banner ends in.
            std::string backup = ReadText("query.bak");
            backup.erase(backup.find(" [run "), 23);
            EXPECT_EQ(backup, report.substr(0, report.find("Best matches:")));
        }
        // Not busy any more, and full.
        const auto* bar = Find<QProgressBar>("ProgressBar1");
        EXPECT_TRUE(bar->maximum() > 0 && bar->value() == bar->maximum());
        EXPECT_EQ(bar->isTextVisible() ? bar->text() : "", "6 / 6 pairs");
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
    // Six sequences, so that every pair goes to the aligner rather than reusing an earlier result.
    for (const std::string side : {"left", "right"})
        for (const std::string name : {"a", "b", "c"})
            work_.Write(side + "/" + name + ".fas", ">x\nACGTACGTAC" + std::string(side == "left" ? "A" : "C") + name + "\n");
    ChooseFolders(Folder("left"), Folder("right"));
    EXPECT_FALSE(Find<QProgressBar>("ProgressBar1")->isTextVisible()) << "no text before the first run";
    Click("Command1");
    ASSERT_NE(gate, nullptr);
    const auto letThrough = [&](int pairs, const std::string& shown) {
        gate->permits.release(pairs);
        ASSERT_TRUE(QTest::qWaitFor([&] { return box_->ReportText().ends_with(shown) && gate->waiting == 1; }))
            << box_->ReportText();
    };
    const auto enabled = [&] {
        std::string names;
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "CommandStop", "Check1", "Check2",
                                 "Drive1", "Dir1", "File1", "Drive2", "Dir2", "File2", "Option1", "Option6",
                                 "CheckTextbook", "AlignerChoice", "BestCount", "CheckTies", "CommandChart",
                                 "RichTextBox2"})
            if (Find(name)->isEnabled()) names += std::string(name) + " ";
        return names;
    };
    letThrough(2, "a\tc\t10\t1\t0.1\t0\t0\t1\t0\r\n");
    EXPECT_EQ(enabled(), "Command2 Command3 Command4 CommandStop RichTextBox2 ");

    // A second Calculate, even sent past the disabled button, starts nothing.
    QMetaObject::invokeMethod(Find("Command1"), "clicked", Q_ARG(bool, false));
    QCoreApplication::processEvents();
    EXPECT_EQ(box_->ReportText().find("Comparisons by", 1), std::string::npos);

    Click("Command3");
    EXPECT_TRUE(box_->toPlainText().isEmpty());
    letThrough(1, "b\ta\t10\t1\t0.1\t0\t0\t1\t0\r\n");

    QSignalSpy finished(form_.get(), &MainWindow::RunFinished);
    Click("CommandStop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }));
    EXPECT_EQ(Find<QLabel>("Label1")->text(), "stopped");
    EXPECT_EQ(box_->ReportText(), "b\ta\t10\t1\t0.1\t0\t0\t1\t0\r\nBest matches:\r\na\tb\t0.1\r\nb\ta\t0.1\r\n"
                                  "Stopped before the end: 3 of 6 pairs compared\r\n");
    const auto* bar = Find<QProgressBar>("ProgressBar1");
    EXPECT_EQ(bar->isTextVisible() ? bar->text() : "", "3 / 6 pairs");  // no time left shown
    EXPECT_EQ(bar->value() * 2, bar->maximum()) << "the bar is not half full";
    EXPECT_EQ(enabled(), "Command1 Command2 Command3 Command4 Check1 Check2 Drive1 Dir1 File1 Drive2 Dir2 File2 "
                         "Option1 Option6 CheckTextbook AlignerChoice BestCount CheckTies CommandChart RichTextBox2 ");
}

// Stop ends a run of the built-in aligner as well: no pair starts after it, the report stays short
// of the 400 rows.
TEST_F(WindowTest, StopEndsABuiltinRun) {
    std::mt19937 random(7);
    for (const std::string side : {"long1", "long2"}) {
        for (int i = 0; i < 20; ++i) {
            std::string bases(3000, 'A');
            for (char& base : bases) base = "ACGT"[random() % 4];
            work_.Write(side + "/" + side + "_" + std::to_string(i) + ".fas", ">" + side + "\r\n" + bases + "\r\n");
        }
    }
    Open();
    ChooseFolders(Folder("long1"), Folder("long2"));
    auto* aligner = Find<QComboBox>("AlignerChoice");
    aligner->setCurrentIndex(aligner->findData("builtin"));
    QSignalSpy finished(form_.get(), &MainWindow::RunFinished);
    Click("Command1");
    Click("CommandStop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 20000));
    EXPECT_EQ(Find<QLabel>("Label1")->text(), "stopped");
    const std::string& report = box_->ReportText();
    EXPECT_LT(std::count(report.begin(), report.end(), '\n'), 400);
    EXPECT_NE(report.find("\r\nBest matches:\r\n"), std::string::npos);
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

// The stand-in t_coffee, each pair held until the test lets it through.
struct GatedTCoffee : TCoffeeAligner {
    AlignedPair Align(std::string_view a, std::string_view b, std::string_view name, std::stop_token stop) override {
        while (!permits.try_acquire_for(std::chrono::milliseconds(5)))
            if (stop.stop_requested()) return {};
        return TCoffeeAligner::Align(a, b, name, stop);
    }
    std::counting_semaphore<> permits{0};
};

std::string WithoutBanner(const std::string& report) { return report.substr(report.find("\r\n") + 2); }

// Pause and Save empty the box in the middle of a run; the backup is still the whole report so
// far, as the command line writes it.
TEST_F(WindowTest, TheBackupAfterPauseOrSaveIsTheCommandLines) {
    // Six sequences, so that the gate's permits go to every pair (none reuses an earlier result).
    for (const std::string side : {"left", "right"})
        for (const std::string name : {"a", "b", "c"})
            work_.Write(side + "/" + name + ".fas", ">x\nACGTACGTAC" + std::string(side == "left" ? "A" : "C") + name + "\n");
    QProcess compare;
    compare.start(KADREL_EXE, {"compare", Folder("left"), Folder("right"), "--backup", Folder("cli.bak")});
    ASSERT_TRUE(compare.waitForFinished(60000));
    const std::string expected = WithoutBanner(ReadText(work_ / "cli.bak"));
    ASSERT_EQ(std::count(expected.begin(), expected.end(), '\n'), 1 + 6) << expected;
    for (const char* command : {"Command3", "Command2"}) {
        GatedTCoffee* gate = nullptr;
        Open([&] {
            auto aligner = std::make_unique<GatedTCoffee>();
            gate = aligner.get();
            return aligner;
        });
        form_->SetConcurrentPairs(1);
        ChooseFolders(Folder("left"), Folder("right"));
        dialogs_->saveAnswers = {Folder("saved.txt")};
        QSignalSpy finished(form_.get(), &MainWindow::RunFinished);
        Click("Command1");
        gate->permits.release(3);  // set-1 record a and the first pair of b
        ASSERT_TRUE(QTest::qWaitFor([&] { return box_->ReportText().find("b\ta\t") != std::string::npos; }));
        Click(command);
        EXPECT_TRUE(box_->ReportText().empty());
        gate->permits.release(3);
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 20000));
        EXPECT_EQ(WithoutBanner(ReadText("query.bak")), expected) << command;
    }
}

// What reaches the window's thread.
struct Received : ReportSink {
    void Append(std::string_view part) override { text += part, ++handOvers; }
    void RecordFinished(std::size_t) override {}
    void Progress(std::size_t done, std::size_t) override { lastDone = done; }
    void Warning(std::string_view) override {}
    std::string text;
    int handOvers = 0;
    std::size_t lastDone = 0;
};

// A fast run's rows reach the window's thread whole and in order, in a few hand-overs at least
// 50 ms apart, with the latest progress; the last ones arrive without a Flush too.
TEST(QueuedReportSinkTest, AFastRunIsHandedOverInAFewBatches) {
    constexpr std::size_t kRows = 20000;
    for (const bool windowWaits : {true, false}) {
        QObject window;
        Received received;
        QueuedReportSink sink(&window, received);
        std::string expected;
        const auto start = std::chrono::steady_clock::now();
        std::jthread run([&] {
            for (std::size_t i = 0; i < kRows; ++i) {
                sink.Append("row " + std::to_string(i) + "\r\n");
                sink.Progress(i + 1, kRows);
                if (i % 100 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (windowWaits) sink.Flush();
        });
        for (std::size_t i = 0; i < kRows; ++i) expected += "row " + std::to_string(i) + "\r\n";
        if (windowWaits) run.join();
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.lastDone == kRows; })) << windowWaits;
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(received.text, expected);
        EXPECT_LE(received.handOvers, windowWaits ? 2 : took / std::chrono::milliseconds(50) + 2) << windowWaits;
    }
}

}  // namespace
}  // namespace kadrel::ui::test
