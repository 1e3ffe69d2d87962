#include <QProcess>

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
    compare.start(KADREL_EXE, {"compare", Folder("left"), Folder("right"), "--backup", Folder("cli.bak")});
    ASSERT_TRUE(compare.waitForFinished(60000));
    const std::string expected = WithoutBanner(ReadText(work_ / "cli.bak"));
    ASSERT_TRUE(expected.ends_with("c\tb\t10\t0\t0\t0\t0\t0\t0\r\n")) << expected;
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
        QSignalSpy finished(form_.get(), &Form1::RunFinished);
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

// "p-distance only", chosen at the start, takes the window back to no model.
TEST_F(WindowTest, PDistanceOnlyUndoesAModel) {
    const std::vector<std::pair<QStringList, DistanceModel>> cases = {
        {{}, DistanceModel::None}, {{"Option2"}, DistanceModel::K2P}, {{"Option6", "Option7"}, DistanceModel::None}};
    for (const auto& [clicks, model] : cases) {
        Open();
        ChooseFolders(Folder("left"), Folder("right"));
        for (const QString& option : clicks) Click(option);
        CalculateAndWait();
        EXPECT_NE(box_->ReportText().find("\r\n" + ColumnTitleLine(model)), std::string::npos)
            << qPrintable(clicks.join(' '));
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
                if (i % 100 == 0) std::this_thread::sleep_for(1ms);
            }
            if (windowWaits) sink.Flush();
        });
        for (std::size_t i = 0; i < kRows; ++i) expected += "row " + std::to_string(i) + "\r\n";
        if (windowWaits) run.join();
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.lastDone == kRows; })) << windowWaits;
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(received.text, expected);
        EXPECT_LE(received.handOvers, windowWaits ? 2 : took / 50ms + 2) << windowWaits;
    }
}

}  // namespace
}  // namespace kadrel::ui::test
