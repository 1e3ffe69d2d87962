#include <QApplication>
#include <gtest/gtest.h>

// Window tests need no display. The stand-in t_coffee goes first on the search path, for this
// process and the programs it starts.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PATH", QByteArray(FAKE_ALIGNER_DIR) + ':' + qgetenv("PATH"));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
