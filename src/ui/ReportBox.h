#pragma once
#include <QPlainTextEdit>
#include <string>
#include <string_view>

namespace kadrel::ui {

// The visible report. It keeps the report's own bytes beside what it shows, so that Save writes
// exactly what the run produced (CR LF line ends, any byte the names hold), not the document's
// rendering of it. Read-only for the user: what is shown is always what gets saved.
class ReportBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ReportBox(QWidget* parent = nullptr);

    // Adds text at the end, whatever the user's caret or selection.
    void AppendReport(std::string_view text);
    void ClearReport();
    const std::string& ReportText() const { return text_; }

private:
    std::string text_;
};

}  // namespace kadrel::ui
