#include "ui/ReportBox.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QTextCursor>

namespace kadrel::ui {

ReportBox::ReportBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(QLatin1Char('x')) * 12);
}

void ReportBox::AppendReport(std::string_view text) {
    if (text.empty()) return;
    text_.append(text);
    QScrollBar* bar = verticalScrollBar();
    const bool followEnd = bar->value() == bar->maximum();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // The document turns CR LF into its own paragraph break; text_ keeps the original.
    end.insertText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    if (followEnd) bar->setValue(bar->maximum());
}

void ReportBox::ClearReport() {
    text_.clear();
    clear();
}

}  // namespace kadrel::ui
