#include <QProcess>

#include <algorithm>
#include <chrono>
#include <semaphore>
#include <thread>

#include "WindowTest.h"
#include "align/TCoffeeAligner.h"
#include "distances/PairRow.h"
#include "ui/QueuedReportSink.h"

namespace kadrel::ui::test {
namespace {

using namespace std::chrono_literals;

// The stand-in t_coffee, each pair held until the test lets it through.
struct GatedTCoffee : TCoffeeAligner {
    AlignedPair Align(std::string_view a, std::string_view b, std::string_view name, std::stop_token stop) override {
        while (!permits.try_acquire_for(5ms))
            if (stop.stop_requested()) return {};
        return TCoffeeAligner::Align(a, b, name, stop);
    }
    std::counting_semaphore<> permits{0};
};

std::string WithoutBanner(const std::string& report) { return report.substr(report.find("\r\n") + 2); }

// Pause and Save empty the box in the middle of a run; the backup is still the whole report so
// far, as the command line writes it.
TEST_F(WindowTest, TheBackupAfterPauseOrSaveIsTheCommandLines) {
    QProcess compare;
    compare.start(KADREL_EXE, {"compare", Folder("left"), Folder("right"), "--backup", Folder("cli.bak"),
                               "-o", Folder("cli.txt")});
    ASSERT_TRUE(compare.waitForFinished(60000));
    const std::string expected = WithoutBanner(ReadText(work_ / "cli.bak"));
    ASSERT_EQ(std::count(expected.begin(), expected.end(), '\n'), 7) << expected;
    for (const char* command : {"Command3", "Command2"}) {
        SCOPED_TRACE(command);
        GatedTCoffee* gate = nullptr;
        Open([&] {
            auto aligner = std::make_unique<GatedTCoffee>();
            gate = aligner.get();
            return aligner;
        });
        form_->SetConcurrentPairs(1);
        ChooseFolders(Folder("left"), Folder("right"));
        dialogs_->saveAnswers = {Folder("saved.txt")};
        QSignalSpy finished(form_.get(), &Form1::RunFinished);
        Click("Command1");
        gate->permits.release(3);  // set-1 record a and the first pair of b
        ASSERT_TRUE(QTest::qWaitFor([&] { return box_->ReportText().find("b\ta\t") != std::string::npos; }));
        Click(command);
        EXPECT_TRUE(box_->ReportText().empty());
        gate->permits.release(3);
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 20000));
        EXPECT_EQ(Status(), QStringLiteral("done"));
        EXPECT_EQ(WithoutBanner(ReadText("query.bak")), expected);
    }
}

// The seventh model option takes the window back to the p-distance alone.
TEST_F(WindowTest, PDistanceOnlyUndoesAModel) {
    struct Case {
        QStringList clicks;
        DistanceModel model;
    };
    const std::vector<Case> cases = {
        {{}, DistanceModel::None},
        {{"Option2"}, DistanceModel::K2P},
        {{"Option2", "Option7"}, DistanceModel::None},
        {{"Option6", "Option7"}, DistanceModel::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clicks.join(' ').toStdString());
        Open();
        ChooseFolders(Folder("left"), Folder("right"));
        for (const QString& option : c.clicks) Click(option);
        CalculateAndWait();
        EXPECT_EQ(WithoutBanner(box_->ReportText()).substr(0, ColumnTitleLine(c.model).size()),
                  ColumnTitleLine(c.model));
    }
}

// What reaches the window's thread.
struct Received : ReportSink {
    void Append(std::string_view part) override {
        text += part;
        ++handOvers;
    }
    void RecordFinished(std::size_t) override {}
    void Progress(std::size_t done, std::size_t total) override { progress.emplace_back(done, total); }
    void Warning(std::string_view message) override { warnings.emplace_back(message); }
    std::string text;
    int handOvers = 0;
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    std::vector<std::string> warnings;
};

// A fast run's rows reach the window's thread whole and in order, in a few hand-overs at least
// 50 ms apart, with the latest progress; the last ones arrive without a Flush too.
TEST(QueuedReportSinkTest, AFastRunIsHandedOverInAFewBatches) {
    constexpr std::size_t kRows = 20000;
    for (const bool windowWaits : {true, false}) {
        SCOPED_TRACE(windowWaits ? "the window's thread waits for the run" : "the window's thread is free");
        QObject window;
        Received received;
        QueuedReportSink sink(&window, received);
        std::string expected;
        for (std::size_t i = 0; i < kRows; ++i) expected += "row " + std::to_string(i) + "\r\n";
        const auto start = std::chrono::steady_clock::now();
        std::jthread run([&] {
            for (std::size_t i = 0; i < kRows; ++i) {
                sink.Append("row " + std::to_string(i) + "\r\n");
                if (i == 7) sink.Warning("pair 7 failed");
                sink.Progress(i + 1, kRows);
                if (i % 100 == 0) std::this_thread::sleep_for(1ms);
            }
            if (windowWaits) sink.Flush();
        });
        if (windowWaits) run.join();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !received.progress.empty() && received.progress.back().first == kRows; }));
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        EXPECT_EQ(received.text, expected);
        EXPECT_EQ(received.warnings, std::vector<std::string>{"pair 7 failed"});
        EXPECT_LE(received.handOvers, windowWaits ? 2 : took / 50ms + 2);
        EXPECT_LE(received.progress.size(), static_cast<std::size_t>(received.handOvers) + 1);
    }
}

}  // namespace
}  // namespace kadrel::ui::test
