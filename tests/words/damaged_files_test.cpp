// Damaged or busy database files end in a clear message that names the file, and nothing else
// is changed.
#include "words/recordset.h"
#include "words/word_store.h"

#include "core/failure.h"
#include "tests/support/folders.h"

#include <sqlite3.h>

#include <QFile>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testing_support::entry;
using testing_support::TestFolders;

QString openFailure(const core::Paths& paths, const char* file, const char* sql) {
    try {
        words::StorePair pair;
        words::openPair(pair, paths, file, QString::fromLatin1(sql));
        // Reading every row must fail too if the open did not.
        for (pair.rs.moveFirst(); !pair.rs.eof(); pair.rs.moveNext()) {
            (void)words::currentGloss(pair.rs);
        }
    } catch (const core::Error& e) {
        return e.message();
    }
    return {};
}

TEST(DamagedFiles, ATruncatedWordDatabaseIsReportedByName) {
    TestFolders folders;
    std::vector<words::WordEntry> rows;
    for (int i = 0; i < 3000; ++i) {
        rows.push_back(entry(QStringLiteral("word%1").arg(i), QStringLiteral("n.词%1").arg(i), i));
    }
    folders.writeWordFile(words::kWordFile, rows);
    const auto file = folders.paths.file(words::kWordFile);
    std::filesystem::resize_file(file, std::filesystem::file_size(file) / 2);
    const QString message = openFailure(folders.paths, words::kWordFile, words::kWordsByUse);
    EXPECT_TRUE(message.contains(QStringLiteral("qmlexi.dic"))) << message.toStdString();
}

TEST(DamagedFiles, ALockedNewWordListIsReportedByNameAndLeftUnchanged) {
    TestFolders folders;
    folders.writeWordFile(words::kNewWordFile, {entry("a", "n.甲", 40, 15)}, words::kNewWordTable);
    const auto file = folders.paths.file(words::kNewWordFile);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);

    const QString message =
        openFailure(folders.paths, words::kNewWordFile, words::kListByDeleteAsc);
    EXPECT_TRUE(message.contains(QStringLiteral("fallible.dic"))) << message.toStdString();

    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(testing_support::readRows(file, words::kNewWordTable).size(), 1u);
}

TEST(DamagedFiles, AFailedWeedingCopyLeavesNoHalfFileAndNoMarker) {
    TestFolders folders;  // no word database to copy
    words::StorePair main;
    EXPECT_THROW(words::openWeedingCopy(main, folders.paths, folders.store(), {}), core::Error);
    EXPECT_FALSE(std::filesystem::exists(folders.paths.file(words::kWeedingFile)));
    EXPECT_FALSE(std::filesystem::exists(folders.paths.file("backqmlexi.dic.part")));
    EXPECT_EQ(folders.store().read({"qmword", "Mode", "delete"}), QString());
}

}  // namespace
