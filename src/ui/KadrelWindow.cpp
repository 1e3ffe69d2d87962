#include "ui/KadrelWindow.h"

#include <QApplication>
#include <clocale>

#include "align/TCoffeeAligner.h"
#include "ui/Form1.h"
#include "ui/QtWindowDialogs.h"

namespace kadrel::ui {

int RunKadrelWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    // QApplication sets the locale again; make sure numbers still follow LC_NUMERIC.
    std::setlocale(LC_ALL, "");
    Form1 window(std::make_unique<QtWindowDialogs>(), [] { return std::make_unique<TCoffeeAligner>(); });
    window.show();
    return app.exec();
}

}  // namespace kadrel::ui
