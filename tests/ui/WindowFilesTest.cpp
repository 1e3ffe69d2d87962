#include <QProcess>

#include <algorithm>
#include <chrono>
#include <semaphore>

#include "WindowTest.h"
#include "align/TCoffeeAligner.h"
#include "distances/PairRow.h"

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

}  // namespace
}  // namespace kadrel::ui::test
