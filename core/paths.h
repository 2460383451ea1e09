#pragma once

#include <QString>

#include <filesystem>

namespace core {

/// Where the program's own files lie. The program folder is the folder of the executable;
/// tests point both at temporary folders.
struct Paths {
    std::filesystem::path programFolder;
    /// The maintainer's import file "waittoadd.txt"; its mere presence shows the upkeep tools.
    std::filesystem::path maintainerFile;

    std::filesystem::path file(const char* name) const { return programFolder / name; }

    /// True when the maintainer's import file is there as a plain file. A folder of that name,
    /// or a path that cannot even be tested (a folder it may not read), counts as no file.
    bool hasMaintainerFile() const;

    /// The paths of the installed program: the executable's folder and the maintainer's
    /// desktop file.
    static Paths installed();
};

/// Fixed place of the maintainer's import file on the maintainer's desktop.
std::filesystem::path defaultMaintainerFile();

/// A path as the text shown in messages.
inline QString pathText(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

}  // namespace core
