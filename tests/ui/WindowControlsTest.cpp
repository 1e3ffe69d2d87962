// The window's controls: where they sit, what they enable, and what keeps a run from starting.
#include <QAbstractButton>
#include <QCheckBox>
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

// Ticking a side's box asks for its file at once and shows it by name in the side's file list; a
// click there chooses again (a cancel keeps the file), a cancelled first choice unticks the box.
// Only that side's drive and folder are disabled; unticking lists the folder again. Calculate
// compares the file shown without asking again.
TEST_F(WindowTest, TickingChoosesTheFileAtOnce) {
    const QString one = QString::fromStdString(work_.Write("one.fasta", ">one\r\nACGTACGTAC\r\n").string());
    const QString two = QString::fromStdString(work_.Write("two.fa", ">two\r\nACGTACGTAC\r\n").string());
    const struct {
        QStringList answers;  // to the tick, then to a click on the file shown
        bool clickFile;
        const char* shown;  // nullptr: unticked again
        std::string record;  // the record compared
    } cases[] = {{{one}, false, "one.fasta", "one"}, {{QString()}, false, nullptr, ""},
                 {{one, two}, true, "two.fa", "two"}, {{one, QString()}, true, "one.fasta", "one"}};
    for (const auto& c : cases)
        for (const QString side : {"1", "2"}) {
            Open();
            ChooseFolders(Folder("left"), Folder("left"));
            dialogs_->openAnswers = c.answers;
            Click("Check" + side);
            auto* files = Find<FileList>("File" + side);
            if (c.clickFile) {
                QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
                QTest::qWait(0);
            }
            ASSERT_EQ(dialogs_->openAsked, c.answers.size());
            EXPECT_EQ(Find<QCheckBox>("Check" + side)->isChecked(), c.shown != nullptr);
            EXPECT_EQ(files->count() == 1 ? files->item(0)->text() : QString("a list"), c.shown ? c.shown : "a list");
            for (const QString picker : {"File1", "Drive1", "Dir1", "File2", "Drive2", "Dir2"})
                EXPECT_EQ(Find(picker)->isEnabled(), !c.shown || picker.startsWith("File") || !picker.endsWith(side))
                    << picker.toStdString();
            if (!c.shown) continue;
            CalculateAndWait();
            EXPECT_EQ(dialogs_->openAsked, c.answers.size());
            EXPECT_NE(box_->ReportText().find(side == "1" ? "\r\n" + c.record + "\t" : "\t" + c.record + "\t"),
                      std::string::npos);
            Click("Check" + side);
            EXPECT_EQ(files->count(), 3);
        }
}

// Every control shows inside the window, and none covers another.
TEST_F(WindowTest, EveryControlHasItsOwnPlace) {
    Open();
    const QList<QWidget*> controls = form_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_GE(controls.size(), 22);  // the two sides, the commands, the models, status, progress, report
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QRect place = controls[i]->geometry();
        const std::string name = controls[i]->objectName().toStdString();
        EXPECT_TRUE(controls[i]->isVisible() && form_->rect().contains(place)) << name;
        for (qsizetype k = i + 1; k < controls.size(); ++k)
            EXPECT_FALSE(place.intersects(controls[k]->geometry())) << name << qPrintable(controls[k]->objectName());
    }
}

// Both sides start at the current folder. A subfolder's entry (one click), the parent's entry above
// it (activated) or a drive moves its own side's folder and files, never the other side's; a drive that cannot be
// read leaves the folder where it was.
TEST_F(WindowTest, FolderEntriesAndDrivesMoveTheirSide) {
    work_.Write("right/d.fas", ">d\r\nACGT\r\n");
    Open();
    const QString current = QDir::current().canonicalPath(), right = QDir(Folder("right")).canonicalPath();
    const auto shown = [&](const QString& side) {  // the side's folder and the files it lists
        QStringList text = {Find<FileList>("File" + side)->Path()};
        for (const auto* item : Find<FileList>("File" + side)->findItems("*", Qt::MatchWildcard)) text << item->text();
        return text.join(' ').toStdString();
    };
    const std::string inRight = (right + " a.fas b.fas c.fas d.fas").toStdString();
    for (const QString side : {"1", "2"}) {
        auto* dir = Find<FolderList>("Dir" + side);
        const QList<QTreeWidgetItem*> found = dir->findItems("right", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        EXPECT_FALSE(dir->visualItemRect(found.front()).isEmpty()) << "the subfolders are hidden";
        // One click is enough: the run takes the folder that looks chosen.
        QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, dir->visualItemRect(found.front()).center());
        QTest::qWait(0);
        EXPECT_EQ(shown(side), inRight);
        emit dir->itemActivated(dir->currentItem()->parent(), 0);
        EXPECT_EQ(shown(side), current.toStdString());

        auto* drive = Find<DriveList>("Drive" + side);
        drive->SetDrives({Folder("left"), right, Folder("no such drive")}, Folder("left"));
        for (const int index : {1, 2}) {
            drive->setCurrentIndex(index);
            EXPECT_EQ(shown(side), inRight) << index;
        }
        EXPECT_EQ(shown(side == "1" ? "2" : "1"), current.toStdString());
        dir->SetPath(current);
    }
}

// Save writes the box's bytes as they stand and empties it only once the file is written; a failed
// write names the file, a cancelled dialog says nothing.
TEST_F(WindowTest, SaveWritesTheReportOrKeepsIt) {
    const std::string report = "Comparisons by\tx\r\nSeq1\tSeq2\t\r\nna\xc3\xafve\t\xa0name\t0.25\r\n";
    Open();
    box_->AppendReport(report);
    const QStringList answers = {QString(), Folder("missing/report.txt"), Folder("left"), Folder("report.txt")};
    for (const QString& answer : answers) {
        SCOPED_TRACE(answer.toStdString());
        const bool written = answer == answers.back(), failed = !answer.isNull() && !written;
        dialogs_->errors.clear();
        dialogs_->saveAnswers = {answer};
        Click("Command2");
        EXPECT_EQ(box_->ReportText(), written ? "" : report);
        ASSERT_EQ(dialogs_->errors.size(), failed ? 1 : 0);
        EXPECT_TRUE(!failed || dialogs_->errors.front().contains(answer.section('/', -1))) << qPrintable(answer);
    }
    EXPECT_EQ(ReadText("report.txt"), report);
    EXPECT_EQ(QDir::current().entryList(QDir::Files), QStringList({"report.txt"}));
}

// Nothing starts when t_coffee is missing or when the chosen file cannot be read (by then gone).
TEST_F(WindowTest, NothingStartsWithoutTheAlignerOrBothSets) {
    const QString file = QString::fromStdString(work_.Write("two.fas", ">x\r\nAC\r\n>y\r\nAC\r\n").string());
    struct Case {
        const char* missing;
        bool tick1, tick2;
        QStringList answers;
        int asked;
        const char* error;  // what the one error message names, if there is one
    };
    const std::vector<Case> cases = {
        {"t_coffee was not found; install it", true, false, {file}, 1, "t_coffee"},
        {"", true, true, {file, Folder("gone.fas")}, 2, "gone.fas"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tick1 << c.tick2 << c.asked << c.missing);
        Open([&] {
            auto aligner = std::make_unique<FixedAligner>();
            aligner->missing = c.missing;
            return aligner;
        });
        dialogs_->openAnswers = c.answers;
        if (c.tick1) Click("Check1");
        if (c.tick2) Click("Check2");
        Click("Command1");
        EXPECT_EQ(dialogs_->openAsked, c.asked);
        ASSERT_EQ(dialogs_->errors.size(), c.error ? 1 : 0);
        EXPECT_TRUE(dialogs_->errors.join("").contains(c.error ? c.error : "")) << qPrintable(dialogs_->errors[0]);
        EXPECT_FALSE(form_->RunInProgress());
    }
}

// A set without any record: Calculate shows the command line's message and starts nothing.
TEST_F(WindowTest, ASetWithoutRecordsStartsNoRun) {
    fs::create_directory(work_ / "none");
    // Set 1 a multiple-sequence file of this name and text; without a name, set 2 the empty folder.
    const std::pair<const char*, std::string> cases[] = {
        {nullptr, ""}, {"empty.fas", ""}, {"plain.fas", "ACGTACGT\r\n"}, {"binary.fas", {"\x7f" "ELF\0>\1", 7}}};
    for (const auto& [file, text] : cases) {
        Open();
        ChooseFolders(Folder("left"), file ? Folder("right") : Folder("none"));
        QStringList sets = {Folder("left"), Folder("none")};
        if (file) {
            sets = {QString::fromStdString(work_.Write(file, text).string()), Folder("right")};
            dialogs_->openAnswers = {sets[0]};
            Click("Check1");
        }
        Click("Command1");
        EXPECT_TRUE(!form_->RunInProgress() && box_->ReportText().empty() && !fs::exists("query.bak"));
        QProcess compare;
        compare.start(KADREL_EXE, QStringList{"compare"} + sets);
        ASSERT_TRUE(compare.waitForFinished(60000));
        const QString message = QString::fromUtf8(compare.readAllStandardError()).trimmed();
        EXPECT_EQ(dialogs_->errors, QStringList{message.mid(QStringLiteral("kadrel: ").size())});
    }
}

// The window's backup lands in the current folder, where both sides start: a second Calculate
// there leaves it out of the set instead of comparing it as a record.
TEST_F(WindowTest, TheBackupIsNoRecordOfTheNextRun) {
    work_.Write("x.fas", ">x\r\nACGTACGTAC\r\n");
    Open();
    ChooseFolders(QString::fromStdString(work_.Path().string()), Folder("right"));
    CalculateAndWait();
    CalculateAndWait();
    EXPECT_EQ(Find<QLabel>("Label1")->text(), QStringLiteral("done"));
    EXPECT_EQ(box_->ReportText().find("query\t"), std::string::npos);
    ASSERT_EQ(dialogs_->warnings.size(), 1);
    EXPECT_TRUE(dialogs_->warnings[0].endsWith("query.bak\" is a report or backup of Kadrel; it is not read as a record"));
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

}  // namespace
}  // namespace kadrel::ui::test
