#pragma once

#include "tests/support/fakes.h"

#include <QByteArray>
#include <QStringList>

#include <filesystem>
#include <map>

namespace hardening {

/// The contents of every file of a test's program folder and settings folder, to tell
/// afterwards which files an action changed, made or removed.
class FolderSnapshot {
  public:
    explicit FolderSnapshot(testing_support::FakeServices& fake);
    /// One line per file that differs from `earlier`: "changed: NAME", "new: NAME",
    /// "gone: NAME".
    QStringList changesSince(const FolderSnapshot& earlier) const;

  private:
    std::map<std::string, QByteArray> files_;
};

/// SQLite's own check of a database file: true when it reports "ok".
bool integrityOk(const std::filesystem::path& file);

}  // namespace hardening
