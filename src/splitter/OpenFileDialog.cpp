#include "OpenFileDialog.h"

#include <QFileDialog>

namespace lutrane {

std::optional<QString> QtOpenFileDialog::ChooseFile(QWidget* parent, const QString& title, const QString& filter) {
    const QString chosen = QFileDialog::getOpenFileName(parent, title, QString(), filter);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

}  // namespace lutrane
