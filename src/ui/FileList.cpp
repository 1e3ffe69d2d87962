#include "ui/FileList.h"

#include <QDir>
#include <QFileInfo>
#include <exception>

#include "calc/SequenceSet.h"
#include "ui/PathText.h"

namespace kadrel::ui {

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::SetPath(const QString& path) {
    path_ = path;
    Refresh();
}

void FileList::Refresh() {
    clear();
    if (path_.isEmpty()) return;
    try {
        for (const std::string& name : ListFolder(ToPath(path_)))
            addItem(ToText(std::filesystem::path(name)));
    } catch (const std::exception&) {
        // A folder that cannot be listed shows no files, as an empty one; the run says why.
    }
}

void FileList::ShowChosenFile(const QString& file) {
    clear();
    auto* item = new QListWidgetItem(QFileInfo(file).fileName(), this);
    item->setToolTip(QDir::toNativeSeparators(file));
}

}  // namespace kadrel::ui
