#pragma once
#include <QComboBox>
#include <QStringList>

namespace kadrel::ui {

// The drives of a desktop without drive letters: the root folders of the mounted file systems.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // Replaces the list (tests give their own roots) and selects `current` without a change signal.
    void SetDrives(const QStringList& roots, const QString& current);

    // The mounted roots that are folders, and the root of the current folder selected.
    static QStringList MountedRoots();
    static QString CurrentRoot();

signals:
    // The user (or a test) picked another drive.
    void DriveChanged(const QString& root);
};

}  // namespace kadrel::ui
