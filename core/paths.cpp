#include "core/paths.h"

#include <QCoreApplication>
#include <QDir>

namespace core {

std::filesystem::path defaultMaintainerFile() {
    return std::filesystem::path(QDir::homePath().toStdString()) / "Desktop" / "waittoadd.txt";
}

bool Paths::hasMaintainerFile() const {
    std::error_code untestable;
    return std::filesystem::is_regular_file(maintainerFile, untestable);
}

Paths Paths::installed() {
    Paths p;
    p.programFolder = QCoreApplication::applicationDirPath().toStdString();
    p.maintainerFile = defaultMaintainerFile();
    return p;
}

}  // namespace core
