#include "ui/QtWindowDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace kadrel::ui {
namespace {

constexpr int kMaxWarningLines = 20;

std::optional<QString> Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<QString> QtWindowDialogs::OpenSequenceFile(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Open *.fas-File"));
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Real data come as .fasta, .fa and .fna as often as .fas, and reference libraries as .gz.
    dialog.setNameFilters({QStringLiteral("fasta-File (*.fas *.fasta *.fa *.fna *.ffn)"),
                           QStringLiteral("gzip-compressed (*.gz)"), QStringLiteral("All files (*)")});
    return Chosen(dialog);
}

std::optional<QString> QtWindowDialogs::SaveReportFile(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Save txt-File"));
    dialog.setObjectName(QStringLiteral("CommonDialog2"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Text-File (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    return Chosen(dialog);
}

std::optional<QString> QtWindowDialogs::SaveChartFile(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Save chart"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("SVG picture (*.svg)"), QStringLiteral("PNG picture (*.png)")});
    dialog.setDefaultSuffix(QStringLiteral("svg"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.contains(QLatin1String("png")) ? QStringLiteral("png") : QStringLiteral("svg"));
    });
    return Chosen(dialog);
}

bool QtWindowDialogs::AskYesNo(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QStringLiteral("Kadrel"), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void QtWindowDialogs::ShowError(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QStringLiteral("Kadrel"), message);
}

void QtWindowDialogs::ShowWarning(QWidget* parent, const QString& message) {
    if (!warnings_) {
        // A child of the window, so it goes with it.
        warnings_ = new QMessageBox(QMessageBox::Warning, QStringLiteral("Kadrel"), QString(),
                                    QMessageBox::Ok, parent);
        warnings_->setModal(false);
        warnings_->setAttribute(Qt::WA_DeleteOnClose);
    }
    QStringList lines = warnings_->text().isEmpty() ? QStringList() : warnings_->text().split(u'\n');
    if (lines.size() < kMaxWarningLines) {
        lines.append(message);
    } else if (lines.size() == kMaxWarningLines) {
        lines.append(QStringLiteral("(further warnings left out)"));
    }
    warnings_->setText(lines.join(u'\n'));
    warnings_->show();
    warnings_->raise();
}

}  // namespace kadrel::ui
