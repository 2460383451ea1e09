#pragma once

#include <QTemporaryDir>

#include <filesystem>

namespace bench {

/// A private copy of the shipped word database (and empty lists) in a temporary program
/// folder, so that benchmarks never touch the build's own files.
class ShippedCopy {
  public:
    ShippedCopy();
    std::filesystem::path folder() const { return dir_.path().toStdString(); }
    std::filesystem::path file(const char* name) const { return folder() / name; }

  private:
    QTemporaryDir dir_;
};

}  // namespace bench
