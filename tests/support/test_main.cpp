// Common main of the test executables: an offscreen application, test mode for Qt's paths.
#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
