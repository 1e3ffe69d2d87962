// Renders the Kadrel window after a real run, for the picture in the README:
//   kadrel_window_screenshot OUT.png SET1_FOLDER SET2_FILE OPTION_NAME
// Side 1 is the folder, side 2 the multiple-sequence file; the run uses t_coffee from the path.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "align/tcoffee/TCoffeeAligner.h"
#include "ui/FolderList.h"
#include "ui/MainWindow.h"

namespace {

class AnsweringDialogs : public kadrel::ui::WindowDialogs {
public:
    explicit AnsweringDialogs(QString file) : file_(std::move(file)) {}
    std::optional<QString> OpenSequenceFile(QWidget*) override { return file_; }
    std::optional<QString> SaveReportFile(QWidget*) override { return std::nullopt; }
    void ShowError(QWidget*, const QString& message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    void ShowWarning(QWidget*, const QString& message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }

private:
    QString file_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s OUT.png SET1_FOLDER SET2_FILE OPTION_NAME\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    kadrel::ui::MainWindow window(std::make_unique<AnsweringDialogs>(QString::fromLocal8Bit(argv[3])),
                             [] { return std::make_unique<kadrel::TCoffeeAligner>(); });
    window.show();
    if (!window.findChild<kadrel::ui::FolderList*>("Dir1")->SetPath(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "%s: not a folder\n", argv[2]);
        return 2;
    }
    window.findChild<QCheckBox*>("Check2")->click();
    if (auto* option = window.findChild<QAbstractButton*>(QString::fromLocal8Bit(argv[4]))) option->click();

    QEventLoop loop;
    QObject::connect(&window, &kadrel::ui::MainWindow::RunFinished, &loop, &QEventLoop::quit);
    window.findChild<QPushButton*>("Command1")->click();
    if (!window.RunInProgress()) return 1;
    loop.exec();
    QTimer::singleShot(200, &loop, &QEventLoop::quit);  // let the last repaint happen
    loop.exec();
    return window.grab().save(out) ? 0 : 1;
}
