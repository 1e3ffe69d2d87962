#include <QAbstractButton>
#include <QCheckBox>
#include <QTreeWidget>
#include <vector>

#include "WindowTestSupport.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/FolderList.h"

namespace kadrel::ui::test {
namespace {

class ControlsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Open(std::make_shared<FixedAligner>());
    }
};

QStringList Listed(const FileList& list) {
    QStringList names;
    for (int i = 0; i < list.count(); ++i) names.append(list.item(i)->text());
    return names;
}

TEST_F(ControlsTest, EveryButtonHasItsCaptionAndNoModelIsChosen) {
    EXPECT_EQ(form_->objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(form_->windowTitle(), QStringLiteral("Kadrel"));
    const std::vector<std::pair<const char*, const char*>> captions = {
        {"Check1", "multiple sequence file"}, {"Check2", "multiple sequence file"},
        {"Command1", "Calculate"}, {"Command2", "Save"}, {"Command3", "Pause"}, {"Command4", "Exit"},
        {"CommandStop", "Stop"},
        {"Option1", "Jukes-Cantor (JC)"}, {"Option2", "Kimura 2-parameter (K2P)"},
        {"Option3", "Tajima-Nei (TN84)"}, {"Option4", "Tamura 3-parameter (T3P)"},
        {"Option5", "Tamura-Nei (TN93)"}, {"Option6", "LogDet"},
    };
    for (const auto& [name, caption] : captions) {
        const auto* button = Find<QAbstractButton>(name);
        EXPECT_EQ(button->text(), QString::fromLatin1(caption)) << name;
        EXPECT_FALSE(button->isChecked()) << name;
    }
    EXPECT_FALSE(Find("CommandStop")->isEnabled());
}

TEST_F(ControlsTest, TabGoesThroughTheControlsInTheirOrder) {
    const QStringList order = {
        "RichTextBox2", "Command1", "CommandStop", "Command2", "Command3", "Command4", "Dir1", "File1",
        "Drive1", "Drive2", "Dir2", "File2", "Option1", "Option2", "Option3", "Option4", "Option5",
        "Option6", "Check1", "Check2",
    };
    QStringList seen;
    QWidget* widget = box_;
    for (int step = 0; step < 200 && seen.size() < order.size(); ++step, widget = widget->nextInFocusChain())
        if (order.contains(widget->objectName()) && !seen.contains(widget->objectName())) seen.append(widget->objectName());
    EXPECT_EQ(seen, order);
}

// Ticking a side's box disables only that side's pickers; unticking gives them back.
TEST_F(ControlsTest, TickingASideDisablesItsPickers) {
    for (const QString side : {"1", "2"}) {
        const QString other = side == "1" ? "2" : "1";
        for (const bool ticked : {true, false}) {
            Click("Check" + side);
            ASSERT_EQ(Find<QCheckBox>("Check" + side)->isChecked(), ticked);
            for (const QString picker : {"File", "Drive", "Dir"}) {
                EXPECT_EQ(Find(picker + side)->isEnabled(), !ticked) << (picker + side).toStdString();
                EXPECT_TRUE(Find(picker + other)->isEnabled()) << (picker + other).toStdString();
            }
        }
    }
}

// Both sides start at the current folder; a folder entry or a drive moves its own side's folder
// and files, never the other side's.
TEST_F(ControlsTest, FolderEntriesAndDrivesMoveTheirSide) {
    const QString current = QDir::current().canonicalPath();
    const QString left = QDir(Folder("left")).canonicalPath();
    const QString right = QDir(Folder("right")).canonicalPath();
    for (const QString side : {"1", "2"}) {
        EXPECT_EQ(Find<FolderList>("Dir" + side)->Path(), current);
        EXPECT_EQ(Find<FileList>("File" + side)->Path(), current);
    }

    // The current folder's subfolders hang below it; its parent above it leads back up.
    auto* dir1 = Find<FolderList>("Dir1");
    const QList<QTreeWidgetItem*> found = dir1->findItems("left", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    emit dir1->itemActivated(found.front(), 0);
    EXPECT_EQ(Find<FileList>("File1")->Path(), left);
    EXPECT_EQ(Listed(*Find<FileList>("File1")), QStringList({"a.fas", "b.fas", "c.fas"}));
    ASSERT_NE(dir1->currentItem()->parent(), nullptr);
    emit dir1->itemActivated(dir1->currentItem()->parent(), 0);
    EXPECT_EQ(dir1->Path(), current);

    WriteFile(QDir(right).filePath("d.fas"), ">d\r\nACGT\r\n");
    auto* drive2 = Find<DriveList>("Drive2");
    drive2->SetDrives({left, right, Folder("no such drive")}, left);
    drive2->setCurrentIndex(1);
    EXPECT_EQ(Find<FolderList>("Dir2")->Path(), right);
    EXPECT_EQ(Find<FileList>("File2")->Path(), right);
    EXPECT_EQ(Listed(*Find<FileList>("File2")), QStringList({"a.fas", "b.fas", "c.fas", "d.fas"}));
    // A drive that cannot be read leaves the folder where it was.
    drive2->setCurrentIndex(2);
    EXPECT_EQ(Find<FolderList>("Dir2")->Path(), right);
    EXPECT_EQ(Find<FileList>("File2")->Path(), right);
    EXPECT_EQ(dir1->Path(), current);
}

}  // namespace
}  // namespace kadrel::ui::test
