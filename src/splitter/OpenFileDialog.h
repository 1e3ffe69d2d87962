#pragma once
#include <QString>
#include <optional>

class QWidget;

namespace lutrane {

// The open-file dialog behind an interface, so that tests can answer it.
class OpenFileDialog {
public:
    virtual ~OpenFileDialog() = default;
    // The chosen file, or nothing when the user cancelled.
    virtual std::optional<QString> ChooseFile(QWidget* parent, const QString& title, const QString& filter) = 0;
};

// The platform's own dialog.
class QtOpenFileDialog : public OpenFileDialog {
public:
    std::optional<QString> ChooseFile(QWidget* parent, const QString& title, const QString& filter) override;
};

}  // namespace lutrane
