#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "Form1.h"
#include "SplitCommandLine.h"

int main(int argc, char** argv) {
    // With arguments there is no window, and no display is needed.
    if (argc > 1) return lutrane::RunSplitCommandLine(argc, argv, std::cout, std::cerr);

    // Without a display Qt would abort; say what to do instead.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        std::cerr << "lutrane: no display to open the window on; to split without it: lutrane [-o DIR] FASTA...\n";
        return 2;
    }
    QApplication application(argc, argv);
    lutrane::Form1 window(std::make_unique<lutrane::QtOpenFileDialog>());
    window.show();
    return application.exec();
}
