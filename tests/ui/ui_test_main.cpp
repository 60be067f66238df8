// The window tests need one QApplication and no screen: CTest sets the
// offscreen platform, and so does this main when run by hand. The tests run
// in a directory of their own, where the message log and trace files go.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path())) return 1;
    return RUN_ALL_TESTS();
}
