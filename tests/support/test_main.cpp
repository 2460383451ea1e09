// Common main of the test executables: an offscreen application, test mode for Qt's paths,
// the locale the run was started in, and a runtime folder in the build tree.
#include "tests/support/locales.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <clocale>

namespace {

// Without a session runtime folder Qt makes one in /tmp (runtime-<user>), and so does the
// sound library that speech opens (pulse-<random>); both would outlive the run. A run without
// one keeps it in the build tree instead, for itself and the programs it starts.
void keepRuntimeFolderInBuild() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return;
    }
    const QByteArray folder = QM_RUNTIME_FOLDER;
    QDir().mkpath(QString::fromUtf8(folder));
    ::chmod(folder.constData(), 0700);  // Qt refuses a runtime folder that others can enter
    qputenv("XDG_RUNTIME_DIR", folder);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    keepRuntimeFolderInBuild();
    testing_support::takeMissingLocaleFromBuild();
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
