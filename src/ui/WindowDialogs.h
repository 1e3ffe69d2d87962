#pragma once
#include <QString>
#include <optional>

class QWidget;

namespace kadrel::ui {

// Every dialog the window shows, behind one interface so that tests can answer them.
class WindowDialogs {
public:
    virtual ~WindowDialogs() = default;
    // The multiple-sequence file of one side, or nothing when the user cancelled.
    virtual std::optional<QString> OpenSequenceFile(QWidget* parent) = 0;
    // Where to save the report, or nothing when the user cancelled.
    virtual std::optional<QString> SaveReportFile(QWidget* parent) = 0;
    // Where to save the chart (.svg or .png), or nothing when the user cancelled.
    virtual std::optional<QString> SaveChartFile(QWidget* /*parent*/) { return std::nullopt; }
    // A question answered yes or no; waits for the user. Unasked, the answer is no.
    virtual bool AskYesNo(QWidget* /*parent*/, const QString& /*question*/) { return false; }
    // Something that stops what the user asked for; waits for the user.
    virtual void ShowError(QWidget* parent, const QString& message) = 0;
    // Something that does not stop a running comparison; must not wait for the user.
    virtual void ShowWarning(QWidget* parent, const QString& message) = 0;
};

}  // namespace kadrel::ui
