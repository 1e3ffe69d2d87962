#include <QApplication>
#include <QByteArray>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The window tests need no display; CI sets this too, a plain ctest run may not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The fake t_coffee comes first on the search path, for this process and kadrel compare alike.
    qputenv("PATH", QByteArray(KADREL_FAKE_ALIGNER_DIR) + ':' + qgetenv("PATH"));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
