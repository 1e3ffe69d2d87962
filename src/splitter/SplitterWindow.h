#pragma once
#include <QWidget>
#include <memory>

#include "OpenFileDialog.h"

class QLabel;
class QPushButton;

namespace lutrane {

// Lutrane's window: one "Split" button and a line saying what the last split did.
class SplitterWindow : public QWidget {
    Q_OBJECT

public:
    explicit SplitterWindow(std::unique_ptr<OpenFileDialog> dialog, QWidget* parent = nullptr);

public slots:
    // Asks for a file and splits it next to itself.
    void Command1_Click();

private:
    void ShowStatus(const QString& text);

    QPushButton* Command1;
    QLabel* Label1;
    std::unique_ptr<OpenFileDialog> CommonDialog1;
};

}  // namespace lutrane
