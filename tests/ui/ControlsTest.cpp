#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTreeWidget>
#include <vector>

#include "WindowTestSupport.h"
#include "calc/SequenceSet.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/FolderList.h"
#include "ui/ReportBox.h"

namespace kadrel::ui::test {
namespace {

class ControlsTest : public WindowTest {
protected:
    std::unique_ptr<Form1> Window() { return MakeWindow(std::make_shared<FixedAligner>()); }
};

QStringList Listed(const FileList& list) {
    QStringList names;
    for (int i = 0; i < list.count(); ++i) names.append(list.item(i)->text());
    return names;
}

TEST_F(ControlsTest, EveryButtonHasItsCaptionAndNoModelIsChosen) {
    const auto form = Window();
    EXPECT_EQ(form->objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kadrel"));
    const std::vector<std::pair<const char*, const char*>> captions = {
        {"Check1", "multiple sequence file"}, {"Check2", "multiple sequence file"},
        {"Command1", "Calculate"}, {"Command2", "Save"}, {"Command3", "Pause"}, {"Command4", "Exit"},
        {"CommandStop", "Stop"},
        {"Option1", "Jukes-Cantor (JC)"}, {"Option2", "Kimura 2-parameter (K2P)"},
        {"Option3", "Tajima-Nei (TN84)"}, {"Option4", "Tamura 3-parameter (T3P)"},
        {"Option5", "Tamura-Nei (TN93)"}, {"Option6", "LogDet"},
    };
    for (const auto& [name, caption] : captions) {
        const auto* button = Find<QAbstractButton>(*form, name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromLatin1(caption)) << name;
        EXPECT_FALSE(button->isChecked()) << name;
    }
    EXPECT_TRUE(Find<QLabel>(*form, "Label1")->text().isEmpty());
    EXPECT_TRUE(Find<ReportBox>(*form, "RichTextBox2")->ReportText().empty());
    EXPECT_FALSE(Find<QAbstractButton>(*form, "CommandStop")->isEnabled());
}

TEST_F(ControlsTest, BothSidesStartAtTheCurrentFolder) {
    const auto form = Window();
    const QString current = QDir::current().canonicalPath();
    QStringList expected;
    for (const std::string& name : ListFolder(std::filesystem::path(current.toStdString())))
        expected.append(QString::fromStdString(name));
    for (const char* dir : {"Dir1", "Dir2"}) EXPECT_EQ(Find<FolderList>(*form, dir)->Path(), current) << dir;
    for (const char* file : {"File1", "File2"}) {
        EXPECT_EQ(Find<FileList>(*form, file)->Path(), current) << file;
        EXPECT_EQ(Listed(*Find<FileList>(*form, file)), expected) << file;
    }
}

TEST_F(ControlsTest, TabGoesThroughTheControlsInTheirOrder) {
    const auto form = Window();
    const QStringList order = {
        "RichTextBox2", "Command1", "CommandStop", "Command2", "Command3", "Command4", "Dir1", "File1",
        "Drive1", "Drive2", "Dir2", "File2", "Option1", "Option2", "Option3", "Option4", "Option5",
        "Option6", "Check1", "Check2",
    };
    QStringList seen;
    QWidget* widget = Find<QWidget>(*form, "RichTextBox2");
    for (int step = 0; step < 200 && seen.size() < order.size(); ++step, widget = widget->nextInFocusChain())
        if (order.contains(widget->objectName()) && !seen.contains(widget->objectName())) seen.append(widget->objectName());
    EXPECT_EQ(seen, order);
}

// Ticking a side's box disables only that side's pickers; unticking gives them back.
TEST_F(ControlsTest, TickingASideDisablesItsPickers) {
    const auto form = Window();
    struct Case {
        const char* check;
        std::vector<const char*> own;
        std::vector<const char*> other;
    };
    const std::vector<Case> cases = {
        {"Check1", {"File1", "Drive1", "Dir1"}, {"File2", "Drive2", "Dir2"}},
        {"Check2", {"File2", "Drive2", "Dir2"}, {"File1", "Drive1", "Dir1"}},
    };
    for (const Case& c : cases) {
        auto* check = Find<QCheckBox>(*form, c.check);
        check->click();
        ASSERT_TRUE(check->isChecked());
        for (const char* name : c.own) EXPECT_FALSE(Find<QWidget>(*form, name)->isEnabled()) << c.check << " " << name;
        for (const char* name : c.other) EXPECT_TRUE(Find<QWidget>(*form, name)->isEnabled()) << c.check << " " << name;
        check->click();
        ASSERT_FALSE(check->isChecked());
        for (const char* name : c.own) EXPECT_TRUE(Find<QWidget>(*form, name)->isEnabled()) << c.check << " " << name;
    }
}

TEST_F(ControlsTest, AnotherDriveMovesTheFolderAndTheFiles) {
    const auto form = Window();
    auto* drive = Find<DriveList>(*form, "Drive2");
    auto* dir = Find<FolderList>(*form, "Dir2");
    auto* file = Find<FileList>(*form, "File2");
    const QString left = QDir(Folder("left")).canonicalPath();
    const QString right = QDir(Folder("right")).canonicalPath();
    WriteFile(QDir(right).filePath("d.fas"), ">d\r\nACGT\r\n");
    drive->SetDrives({left, right, Folder("no such drive")}, left);

    drive->setCurrentIndex(1);
    EXPECT_EQ(dir->Path(), right);
    EXPECT_EQ(file->Path(), right);
    EXPECT_EQ(Listed(*file), QStringList({"a.fas", "b.fas", "c.fas", "d.fas"}));

    // A drive that cannot be read leaves the folder where it was.
    drive->setCurrentIndex(2);
    EXPECT_EQ(dir->Path(), right);
    EXPECT_EQ(file->Path(), right);
    EXPECT_EQ(Find<FolderList>(*form, "Dir1")->Path(), QDir::current().canonicalPath());
}

TEST_F(ControlsTest, ActivatingAFolderEntryOpensIt) {
    const auto form = Window();
    auto* dir = Find<FolderList>(*form, "Dir1");
    // The current folder's subfolders hang below it; "left" is one of them.
    QTreeWidgetItem* leftItem = nullptr;
    for (QTreeWidgetItem* item : dir->findItems("left", Qt::MatchExactly | Qt::MatchRecursive)) leftItem = item;
    ASSERT_NE(leftItem, nullptr);
    QSignalSpy changed(dir, &FolderList::PathChanged);
    emit dir->itemActivated(leftItem, 0);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(Find<FileList>(*form, "File1")->Path(), QDir(Folder("left")).canonicalPath());
    EXPECT_EQ(Find<FileList>(*form, "File1")->count(), 3);

    // Its parent is listed above it and leads back up.
    QTreeWidgetItem* parentItem = dir->currentItem()->parent();
    ASSERT_NE(parentItem, nullptr);
    emit dir->itemActivated(parentItem, 0);
    EXPECT_EQ(dir->Path(), QDir::current().canonicalPath());
}

}  // namespace
}  // namespace kadrel::ui::test
