#include "ui/DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

namespace kadrel::ui {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    SetDrives(MountedRoots(), CurrentRoot());
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) emit DriveChanged(itemText(index));
    });
}

void DriveList::SetDrives(const QStringList& roots, const QString& current) {
    const QSignalBlocker blocker(this);
    clear();
    addItems(roots);
    if (!current.isEmpty() && findText(current) < 0) addItem(current);
    setCurrentIndex(current.isEmpty() ? 0 : findText(current));
}

QStringList DriveList::MountedRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // Bind-mounted single files also show up as volumes; only folders can hold a set.
        if (volume.isValid() && volume.isReady() && QFileInfo(root).isDir() && !roots.contains(root)) roots.append(root);
    }
    roots.sort(Qt::CaseInsensitive);
    return roots;
}

QString DriveList::CurrentRoot() {
    const QStorageInfo volume(QDir::currentPath());
    return volume.isValid() ? volume.rootPath() : QDir::rootPath();
}

}  // namespace kadrel::ui
