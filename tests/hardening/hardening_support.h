#pragma once

#include "tests/support/fakes.h"

#include <QByteArray>
#include <QStringList>

#include <filesystem>
#include <istream>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

/// Makes a T (test folders, fakes) whose temporary folders lie in memory when the machine has
/// such a file system (/dev/shm). The soak and the kill test write thousands of times; a kill
/// or a leak check does not depend on the disk, and they then wait for no disk syncs.
template <typename T>
std::unique_ptr<T> makeInMemory() {
    const QByteArray before = qgetenv("TMPDIR");
    if (std::filesystem::is_directory("/dev/shm")) {
        qputenv("TMPDIR", "/dev/shm");
    }
    auto made = std::make_unique<T>();
    if (before.isNull()) {
        qunsetenv("TMPDIR");
    } else {
        qputenv("TMPDIR", before);
    }
    return made;
}

/// What the database files hold for one headword: its qmuse in the word table (-1 when it
/// is not there) and the qmdelete of each of its rows on the new-word list, in file order.
struct WordState {
    long long use = -1;
    std::vector<long long> listed;
    bool operator==(const WordState&) const = default;
};

/// Reads the word's state through connections of its own, as another program would.
WordState readWordState(const core::Paths& paths, const QString& word);

/// "USE ROWS D1 D2 ..." and back.
std::string formatWordState(const WordState& state);
WordState parseWordState(std::istream& in);

}  // namespace hardening
