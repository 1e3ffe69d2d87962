#pragma once
#include <QTreeWidget>

namespace kadrel::ui {

// The folder of one side: the chain of folders from the root down to the current one, then the
// current folder's subfolders. One click on an entry makes it current, as do a double click and
// Enter: a folder that only looked chosen while the run used another made whole runs fail.
class FolderList : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    QString Path() const { return path_; }
    // False, and nothing changes, when `path` is not a folder that can be listed.
    bool SetPath(const QString& path);

signals:
    void PathChanged(const QString& path);

private:
    void Fill();

    QString path_;
};

}  // namespace kadrel::ui
