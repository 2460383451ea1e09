// Copies of database files (the weeding copy, the new-word list from its template) hold only
// finished changes, even when a write to one of the files was cut short by a kill.
#include "words/word_store.h"

#include "core/failure.h"
#include "tests/support/folders.h"

#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using testing_support::entry;
using testing_support::readRows;
using testing_support::TestFolders;

fs::path journalOf(const fs::path& file) {
    return fs::path(file).concat("-journal");
}

// A child process starts a write over every row with a tiny page cache, so that changed pages
// reach the file before the commit, and dies there: the file is left half-written with a hot
// journal beside it.
void dieInTheMiddleOfAWrite(const fs::path& file) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
                SQLITE_OK ||
            sqlite3_exec(db,
                         "pragma cache_size = 2; begin; update qmlexitable set qmuse = 0, "
                         "qmnote = qmnote || qmnote",
                         nullptr, nullptr, nullptr) != SQLITE_OK) {
            _exit(2);
        }
        _exit(0);  // no commit, no rollback, no close
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ASSERT_TRUE(fs::exists(journalOf(file)));
    ASSERT_GT(fs::file_size(journalOf(file)), 0u);
}

std::vector<words::WordEntry> manyRows(const QString& prefix) {
    std::vector<words::WordEntry> rows;
    for (int i = 0; i < 600; ++i) {
        rows.push_back(entry(QStringLiteral("%1%2").arg(prefix).arg(i),
                             QStringLiteral("n.第%1个词的释义，写得长一些以占满页面").arg(i),
                             40 + i));
    }
    return rows;
}

void expectRows(const fs::path& file, const std::vector<words::WordEntry>& wanted) {
    const auto rows = readRows(file, words::kWordTable);
    ASSERT_EQ(rows.size(), wanted.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].qmword, wanted[i].qmword) << i;
        ASSERT_EQ(rows[i].qmnote, wanted[i].qmnote) << i;
        ASSERT_EQ(rows[i].qmuse, wanted[i].qmuse) << i;
    }
}

TEST(DatabaseCopy, AWriteCutShortInTheSourceDoesNotReachTheCopy) {
    TestFolders folders;
    const auto rows = manyRows(QStringLiteral("w"));
    folders.writeWordFile(words::kWordFile, rows);
    const auto source = folders.paths.file(words::kWordFile);
    dieInTheMiddleOfAWrite(source);

    const auto copy = folders.paths.file(words::kWeedingFile);
    words::copyDatabaseFile(source, copy);
    EXPECT_FALSE(fs::exists(journalOf(copy)));
    expectRows(copy, rows);
    expectRows(source, rows);
}

TEST(DatabaseCopy, AJournalLeftByTheReplacedFileIsNotRolledIntoTheNewCopy) {
    TestFolders folders;
    const auto copy = folders.paths.file(words::kWeedingFile);
    folders.writeWordFile(words::kWeedingFile, manyRows(QStringLiteral("old")));
    dieInTheMiddleOfAWrite(copy);

    const auto rows = manyRows(QStringLiteral("new"));
    folders.writeWordFile(words::kWordFile, rows);
    words::copyDatabaseFile(folders.paths.file(words::kWordFile), copy);
    EXPECT_FALSE(fs::exists(journalOf(copy)));
    expectRows(copy, rows);
}

TEST(DatabaseCopy, ASourceThatIsNoDatabaseFailsNamingItAndCopiesNothing) {
    TestFolders folders;
    const auto source = folders.paths.file(words::kWordFile);
    {
        std::FILE* f = std::fopen(source.string().c_str(), "wb");
        ASSERT_TRUE(f);
        const std::string junk(8192, 'x');
        std::fwrite(junk.data(), 1, junk.size(), f);
        std::fclose(f);
    }
    try {
        words::copyDatabaseFile(source, folders.paths.file(words::kWeedingFile));
        FAIL() << "copied junk";
    } catch (const core::Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("qmlexi.dic")))
            << e.message().toStdString();
    }
    EXPECT_FALSE(fs::exists(folders.paths.file(words::kWeedingFile)));
}

}  // namespace
