#include <QApplication>
#include <iostream>
#include <memory>

#include "Form1.h"
#include "SplitCommandLine.h"

int main(int argc, char** argv) {
    // With arguments there is no window, and no display is needed.
    if (argc > 1) return lutrane::RunSplitCommandLine(argc, argv, std::cout, std::cerr);

    QApplication application(argc, argv);
    lutrane::Form1 window(std::make_unique<lutrane::QtOpenFileDialog>());
    window.show();
    return application.exec();
}
