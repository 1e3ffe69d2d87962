#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "SplitterWindow.h"
#include "SplitCommandLine.h"

namespace {

const char* const kNoDisplay =
    "lutrane: no display to open the window on; to split without it: lutrane [-o DIR] FASTA...\n";
std::vector<std::string> startMessages;

void WhileStarting(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(2);
    }
    startMessages.push_back(message.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    // With arguments there is no window, and no display is needed.
    if (argc > 1) return lutrane::RunSplitCommandLine(argc, argv, std::cout, std::cerr);

    // Without a display Qt would abort; say what to do instead.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        std::cerr << kNoDisplay;
        return 2;
    }
    // So would it with a display it cannot reach: its only fatal message while it starts.
    const QtMessageHandler usual = qInstallMessageHandler(WhileStarting);
    QApplication application(argc, argv);
    qInstallMessageHandler(usual);
    for (const auto& message : startMessages) std::fprintf(stderr, "%s\n", message.c_str());
    lutrane::SplitterWindow window(std::make_unique<lutrane::QtOpenFileDialog>());
    window.show();
    return application.exec();
}
