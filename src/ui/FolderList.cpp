#include "ui/FolderList.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMetaObject>
#include <QStyle>

namespace kadrel::ui {
namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(12);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item) SetPath(item->data(0, kPathRole).toString());
    });
    // Once the click is handled: making the folder current lists the tree anew, item included.
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (!item) return;
        const QString path = item->data(0, kPathRole).toString();
        QMetaObject::invokeMethod(this, [this, path] { SetPath(path); }, Qt::QueuedConnection);
    });
}

bool FolderList::SetPath(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable()) return false;
    const QString canonical = info.canonicalFilePath();
    if (canonical == path_) return true;
    path_ = canonical;
    Fill();
    emit PathChanged(path_);
    return true;
}

void FolderList::Fill() {
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    QStringList chain;
    for (QDir dir(path_);; ) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp()) break;
    }

    QTreeWidgetItem* parentItem = nullptr;
    QTreeWidgetItem* currentItem = nullptr;
    for (const QString& folder : chain) {
        const QString name = QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setText(0, name);
        item->setIcon(0, openIcon);
        item->setData(0, kPathRole, folder);
        item->setExpanded(true);
        parentItem = currentItem = item;
    }

    const QFileInfoList subfolders =
        QDir(path_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& sub : subfolders) {
        auto* item = new QTreeWidgetItem(currentItem);
        item->setText(0, sub.fileName());
        item->setIcon(0, closedIcon);
        item->setData(0, kPathRole, sub.absoluteFilePath());
    }
    if (currentItem) {
        currentItem->setExpanded(true);
        setCurrentItem(currentItem);
        scrollToItem(currentItem);
    }
}

}  // namespace kadrel::ui
