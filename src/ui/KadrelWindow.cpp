#include "ui/KadrelWindow.h"

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "align/tcoffee/TCoffeeAligner.h"
#include "ui/MainWindow.h"
#include "ui/QtWindowDialogs.h"

namespace kadrel::ui {
namespace {

const char* noDisplayText = "";
std::vector<std::string> startMessages;

// While the application starts, a fatal message can only be the window system failing to
// start: Qt would abort with a core dump after its own warnings.
void WhileStarting(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(noDisplayText, stderr);
        std::_Exit(2);
    }
    startMessages.push_back(message.toStdString());
}

}  // namespace

int RunKadrelWindow(int argc, char** argv, const char* noDisplay) {
    noDisplayText = noDisplay;
    const QtMessageHandler usual = qInstallMessageHandler(WhileStarting);
    QApplication app(argc, argv);
    qInstallMessageHandler(usual);
    for (const auto& message : startMessages) std::fprintf(stderr, "%s\n", message.c_str());
    // QApplication sets the locale again; make sure numbers still follow LC_NUMERIC.
    std::setlocale(LC_ALL, "");
    MainWindow window(std::make_unique<QtWindowDialogs>(), [] { return std::make_unique<TCoffeeAligner>(); });
    window.show();
    return app.exec();
}

}  // namespace kadrel::ui
