// Calculate beside a backup of the same run offers to go on from it, as --resume does.
#include <QLabel>
#include <QProcess>

#include <atomic>

#include <gtest/gtest.h>

#include "WindowTest.h"
#include "align/tcoffee/TCoffeeAligner.h"

namespace kadrel::ui::test {
namespace {

// The stand-in t_coffee, counting the pairs it is given.
struct CountingTCoffee : TCoffeeAligner {
    AlignedPair Align(std::string_view a, std::string_view b, std::string_view name, std::stop_token stop) override {
        ++(*calls);
        return TCoffeeAligner::Align(a, b, name, stop);
    }
    std::shared_ptr<std::atomic<int>> calls;
};

std::string WithoutBanner(const std::string& text) { return text.substr(text.find("\r\n")); }

// The command line's backup of a whole run, cut after the rows of its first set-1 record as a
// killed run leaves it, is gone on from only when it is of this very run and the user says yes.
// A No, or a backup of any other run, starts afresh and replaces it.
TEST_F(WindowTest, ABackupOfTheSameRunIsOfferedToGoOnFrom) {
    // Six sequences, so that every pair goes to the aligner rather than reusing an earlier result.
    for (const std::string side : {"left", "right"})
        for (const std::string name : {"a", "b", "c"})
            work_.Write(side + "/" + name + ".fas", ">x\nACGTACGTAC" + std::string(side == "left" ? "A" : "C") + name + "\n");
    QProcess compare;
    compare.start(KADREL_EXE, {"compare", Folder("left"), Folder("right"), "--backup", Folder("cli.bak")});
    ASSERT_TRUE(compare.waitForFinished(60000));
    const std::string report = compare.readAllStandardOutput().toStdString();
    const std::string whole = ReadText(work_ / "cli.bak");
    // Header, then record a's two rows (a with a is skipped: the same file name on both sides).
    std::size_t cut = 0;
    for (int line = 0; line < 4; ++line) cut = whole.find("\r\n", cut) + 2;
    ASSERT_EQ(whole.substr(cut).rfind("b\t", 0), 0u) << whole;
    const std::string killed = whole.substr(0, cut);
    const std::string otherRun = std::string(killed).replace(killed.find(" [run ") + 6, 4, "0000");
    std::string untagged = killed;
    untagged.erase(untagged.find(" [run "), 23);
    std::string wrongRow = killed;
    wrongRow.replace(wrongRow.rfind("a\tc\t"), 4, "a\tx\t");

    const struct {
        const char* what;
        std::string backup;
        const char* option;  // a model, for a run other than the backup's
        QList<bool> answers;
        bool asked;
        int aligned;
    } cases[] = {
        {"yes", killed, nullptr, {true}, true, 4},
        {"no", killed, nullptr, {false}, true, 6},
        {"another model", killed, "Option2", {true}, false, 6},
        {"another run's tag", otherRun, nullptr, {true}, false, 6},
        {"no tag", untagged, nullptr, {true}, false, 6},
        {"a row of other names", wrongRow, nullptr, {true}, false, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        work_.Write("query.bak", c.backup);
        const auto calls = std::make_shared<std::atomic<int>>(0);
        Open([calls] {
            auto aligner = std::make_unique<CountingTCoffee>();
            aligner->calls = calls;
            return aligner;
        });
        ChooseFolders(Folder("left"), Folder("right"));
        if (c.option) Click(c.option);
        dialogs_->yesNoAnswers = c.answers;
        CalculateAndWait();
        EXPECT_EQ(Find<QLabel>("Label1")->text(), "done");
        ASSERT_EQ(dialogs_->questions.size(), c.asked ? 1 : 0);
        if (c.asked) {
            EXPECT_TRUE(dialogs_->questions[0].contains("query.bak\" holds the rows of 1 of the 3 set-1 records"))
                << dialogs_->questions[0].toStdString();
        }
        EXPECT_EQ(calls->load(), c.aligned);
        const std::string after = ReadText("query.bak");
        if (c.option) {
            EXPECT_NE(after.find("\tK2P-dist.\r\n"), std::string::npos) << after;
            continue;
        }
        if (c.aligned == 4) {
            // Gone on from: the command line's report to the byte, its banner and date included.
            EXPECT_EQ(box_->ReportText(), report);
            EXPECT_EQ(after, whole);
        } else {
            EXPECT_EQ(WithoutBanner(box_->ReportText()), WithoutBanner(report));
            EXPECT_EQ(WithoutBanner(after), WithoutBanner(whole));
        }
    }
}

}  // namespace
}  // namespace kadrel::ui::test
