#pragma once

#include "core/paths.h"
#include "settings/store.h"
#include "words/word_store.h"

#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace testing_support {

/// A fresh settings folder and program folder for one test, removed afterwards.
class TestFolders {
  public:
    TestFolders();

    core::Paths paths;  // maintainer file points into the temp folder, absent
    settings::IniStore& store() { return *store_; }
    QString settingsFolder() const { return settingsDir_.path(); }

    /// Makes the maintainer file (an empty one unless content is given).
    void createMaintainerFile(const QByteArray& content = {});

    /// A word file of the program folder holding the rows in this order.
    void writeWordFile(const char* file, const std::vector<words::WordEntry>& rows,
                       const char* table = words::kWordTable);
    /// An empty new-word list and its template.
    void writeEmptyLists();
    /// A word table of n rows: headword "wN", gloss "n.词N", qmuse falling from n + 29 to 30.
    void writeNumberedWords(int n);

  private:
    QTemporaryDir settingsDir_;
    QTemporaryDir programDir_;
    std::unique_ptr<settings::IniStore> store_;
};

/// A folder of the build tree for what a test keeps for a look afterwards (grabs of its
/// windows): test-output/<name>, made when missing. Tests write nowhere else outside their
/// temporary folders, so runs of several users or checkouts on one machine stay apart.
QString outputFolder(const QString& name);

/// A word row with a plain gloss, stored in its reversed hex form.
words::WordEntry entry(const QString& word, const QString& gloss, double use, double del = 10);

/// The rows of a table as they stand in the file, in rowid order.
std::vector<words::WordEntry> readRows(const std::filesystem::path& file, const char* table);

/// SQLite's own check of a database file, opened as the program opens it (so a journal
/// left by a killed writer is rolled back first): true when it reports "ok".
bool integrityOk(const std::filesystem::path& file);

}  // namespace testing_support
