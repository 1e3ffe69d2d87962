#pragma once
#include <QPointer>

#include "ui/WindowDialogs.h"

class QMessageBox;

namespace kadrel::ui {

// The platform's own file dialogs and message boxes.
class QtWindowDialogs : public WindowDialogs {
public:
    std::optional<QString> OpenSequenceFile(QWidget* parent) override;
    std::optional<QString> SaveReportFile(QWidget* parent) override;
    std::optional<QString> SaveChartFile(QWidget* parent) override;
    bool AskYesNo(QWidget* parent, const QString& question) override;
    void ShowError(QWidget* parent, const QString& message) override;
    void ShowWarning(QWidget* parent, const QString& message) override;

private:
    // One box gathers the warnings, so a run with many of them does not bury the window.
    QPointer<QMessageBox> warnings_;
};

}  // namespace kadrel::ui
