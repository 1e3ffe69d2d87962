#include <QTreeWidget>

#include "WindowTest.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"

namespace kadrel::ui::test {
namespace {

QStringList Listed(const FileList& list) {
    QStringList names;
    for (int i = 0; i < list.count(); ++i) names.append(list.item(i)->text());
    return names;
}

// Ticking a side's box disables only that side's pickers; unticking gives them back.
TEST_F(WindowTest, TickingASideDisablesOnlyItsPickers) {
    Open();
    for (const QString side : {"1", "2"}) {
        const QString other = side == "1" ? "2" : "1";
        for (const bool ticked : {true, false}) {
            Click("Check" + side);
            for (const QString picker : {"File", "Drive", "Dir"}) {
                EXPECT_EQ(Find(picker + side)->isEnabled(), !ticked) << (picker + side).toStdString();
                EXPECT_TRUE(Find(picker + other)->isEnabled()) << (picker + other).toStdString();
            }
        }
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

// Both sides start at the current folder; a folder entry or a drive moves its own side's folder
// and files, never the other side's.
TEST_F(WindowTest, FolderEntriesAndDrivesMoveTheirSide) {
    Open();
    const QString current = QDir::current().canonicalPath();
    const QString left = QDir(Folder("left")).canonicalPath(), right = QDir(Folder("right")).canonicalPath();
    for (const QString side : {"1", "2"}) EXPECT_EQ(Find<FileList>("File" + side)->Path(), current);

    // The current folder's subfolders hang below it; its parent above it leads back up.
    auto* dir1 = Find<FolderList>("Dir1");
    const QList<QTreeWidgetItem*> found = dir1->findItems("left", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    emit dir1->itemActivated(found.front(), 0);
    EXPECT_EQ(Listed(*Find<FileList>("File1")), QStringList({"a.fas", "b.fas", "c.fas"}));
    ASSERT_NE(dir1->currentItem()->parent(), nullptr);
    emit dir1->itemActivated(dir1->currentItem()->parent(), 0);
    EXPECT_EQ(Find<FileList>("File1")->Path(), current);

    work_.Write("right/d.fas", ">d\r\nACGT\r\n");
    for (const QString side : {"1", "2"}) {
        const QString other = side == "1" ? "2" : "1";
        auto* drive = Find<DriveList>("Drive" + side);
        drive->SetDrives({left, right, Folder("no such drive")}, left);
        drive->setCurrentIndex(1);
        EXPECT_EQ(Find<FileList>("File" + side)->Path(), right);
        EXPECT_EQ(Listed(*Find<FileList>("File" + side)), QStringList({"a.fas", "b.fas", "c.fas", "d.fas"}));
        // A drive that cannot be read leaves the folder where it was.
        drive->setCurrentIndex(2);
        EXPECT_EQ(Find<FolderList>("Dir" + side)->Path(), right);
        EXPECT_EQ(Find<FileList>("File" + side)->Path(), right);
        EXPECT_NE(Find<FileList>("File" + other)->Path(), right) << "side " << other.toStdString() << " moved too";
        Find<FolderList>("Dir" + side)->SetPath(current);
    }
}

}  // namespace
}  // namespace kadrel::ui::test
