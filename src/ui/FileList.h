#pragma once
#include <QListWidget>

namespace kadrel::ui {

// The files of one side's folder, in the order of a folder set's records.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    QString Path() const { return path_; }
    void SetPath(const QString& path);
    // Lists the folder again, for files that came or went since.
    void Refresh();
    // Shows the one multiple-sequence file chosen for the side, by name (its path as tool tip),
    // in place of the folder's files; SetPath or Refresh lists the folder again.
    void ShowChosenFile(const QString& file);

private:
    QString path_;
};

}  // namespace kadrel::ui
