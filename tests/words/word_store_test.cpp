#include "words/word_store.h"

#include "core/failure.h"
#include "settings/keys.h"
#include "tests/support/folders.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace keys = settings::keys;
using testing_support::entry;
using testing_support::readRows;
using testing_support::TestFolders;

TEST(NewWordList, TheTemplateReplacesAMissingListAndZeroesBothCounters) {
    TestFolders folders;
    folders.writeWordFile(words::kNewWordTemplate, {}, words::kNewWordTable);
    folders.store().write(keys::checkFallible, QStringLiteral("12"));
    folders.store().write(keys::autoFallible, QStringLiteral("9"));

    words::restoreNewWordList(folders.paths, folders.store());
    EXPECT_TRUE(std::filesystem::exists(folders.paths.file(words::kNewWordFile)));
    EXPECT_EQ(folders.store().read(keys::checkFallible), QStringLiteral("0"));
    EXPECT_EQ(folders.store().read(keys::autoFallible), QStringLiteral("0"));
    EXPECT_TRUE(readRows(folders.paths.file(words::kNewWordFile), words::kNewWordTable).empty());
}

TEST(NewWordList, AnExistingListIsLeftAlone) {
    TestFolders folders;
    folders.writeWordFile(words::kNewWordFile, {entry("x", "n.甲", 40, 15)}, words::kNewWordTable);
    folders.store().write(keys::checkFallible, QStringLiteral("1"));
    words::restoreNewWordList(folders.paths, folders.store());
    EXPECT_EQ(folders.store().read(keys::checkFallible), QStringLiteral("1"));
    EXPECT_EQ(readRows(folders.paths.file(words::kNewWordFile), words::kNewWordTable).size(), 1u);
}

TEST(NewWordList, AMissingTemplateFailsNamingItAndLeavesNoHalfFile) {
    TestFolders folders;
    try {
        words::restoreNewWordList(folders.paths, folders.store());
        FAIL();
    } catch (const core::Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("falliblebak.dic")));
    }
    EXPECT_FALSE(std::filesystem::exists(folders.paths.file(words::kNewWordFile)));
    EXPECT_EQ(folders.store().read(keys::checkFallible), QString());
}

TEST(NewWordList, RecountStoresRowsPendingAndBarBase) {
    TestFolders folders;
    folders.writeWordFile(
        words::kNewWordFile,
        {entry("e", "n.戊", 40, 15), entry("a", "n.甲", 40, 3), entry("c", "n.丙", 40, 9),
         entry("b", "n.乙", 40, 5), entry("d", "n.丁", 40, 12)},
        words::kNewWordTable);
    words::StorePair list;
    const auto count = words::openAndRecountNewWordList(list, folders.paths, folders.store());
    EXPECT_EQ(folders.store().read(keys::checkFallible), QStringLiteral("5"));
    EXPECT_EQ(folders.store().read(keys::autoFallible), QStringLiteral("3"));
    EXPECT_EQ(count.rowCount, 5);
    EXPECT_EQ(count.listScanPos, 3);
    EXPECT_EQ(count.barBase, -17);
    EXPECT_TRUE(list.isOpen());
}

TEST(NewWordList, RowsWithoutHeadwordGoWhileTheListCounterStillCountsThem) {
    TestFolders folders;
    folders.writeWordFile(words::kNewWordFile,
                          {{std::nullopt, {}, 0, 2},
                           entry("a", "n.甲", 40, 9),
                           {std::nullopt, {}, 0, 20},
                           entry("b", "n.乙", 40, 4)},
                          words::kNewWordTable);
    words::StorePair list;
    const auto count = words::openAndRecountNewWordList(list, folders.paths, folders.store());
    EXPECT_EQ(folders.store().read(keys::checkFallible), QStringLiteral("4"));
    EXPECT_EQ(folders.store().read(keys::autoFallible), QStringLiteral("1"));
    EXPECT_EQ(count.rowCount, 2);
    words::closePair(list);
    const auto rows = readRows(folders.paths.file(words::kNewWordFile), words::kNewWordTable);
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows) {
        EXPECT_TRUE(row.qmword.has_value());
    }
}

TEST(NewWordList, AListWithoutPendingRowsStoresZeroPending) {
    TestFolders folders;
    folders.writeWordFile(words::kNewWordFile,
                          {entry("a", "n.甲", 40, 3), entry("b", "n.乙", 40, 8)},
                          words::kNewWordTable);
    words::StorePair list;
    auto count = words::openAndRecountNewWordList(list, folders.paths, folders.store());
    EXPECT_EQ(folders.store().read(keys::autoFallible), QStringLiteral("0"));
    EXPECT_EQ(count.barBase, -19);

    folders.writeWordFile(words::kNewWordFile, {}, words::kNewWordTable);
    count = words::openAndRecountNewWordList(list, folders.paths, folders.store());
    EXPECT_EQ(folders.store().read(keys::checkFallible), QStringLiteral("0"));
    EXPECT_EQ(folders.store().read(keys::autoFallible), QStringLiteral("0"));
    EXPECT_EQ(count.rowCount, 0);
}

TEST(WeedingCopy, IsMadeOnceAndReusedWithItsChanges) {
    TestFolders folders;
    folders.writeWordFile(words::kWordFile,
                          {entry("a", "n.甲", 40, 10), entry("b", "n.乙", 39, 12)});
    int repaints = 0;
    words::StorePair main;
    words::openWeedingCopy(main, folders.paths, folders.store(), [&] { ++repaints; });
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(folders.store().read(keys::modeDelete), QStringLiteral("delete"));
    ASSERT_EQ(main.rs.recordCount(), 2);
    EXPECT_EQ(main.rs.field(words::kWord).text(), QStringLiteral("b"));  // qmdelete desc
    main.rs.setField(words::kDelete, 7);
    words::closePair(main);

    // The word database changes afterwards; the copy in use must not be replaced.
    folders.writeWordFile(words::kWordFile, {entry("z", "n.新", 40, 10)});
    words::openWeedingCopy(main, folders.paths, folders.store(), [&] { ++repaints; });
    EXPECT_EQ(repaints, 1);
    ASSERT_EQ(main.rs.recordCount(), 2);
    EXPECT_EQ(main.rs.field(words::kWord).text(), QStringLiteral("a"));
    main.rs.moveNext();
    EXPECT_EQ(main.rs.field(words::kDelete).number(), 7);

    words::closePair(main);
    folders.store().remove(keys::modeDelete);
    words::openWeedingCopy(main, folders.paths, folders.store(), {});
    EXPECT_EQ(main.rs.recordCount(), 1);
}

TEST(Closing, AnUnopenedPairIsLeftAloneAndAnOpenOneSavesItsPendingRow) {
    TestFolders folders;
    folders.writeWordFile(words::kWordFile, {entry("a", "n.甲", 40)});
    words::StorePair newWords;
    words::StorePair main;
    words::openPair(main, folders.paths, words::kWordFile, QString::fromLatin1(words::kWordsByUse));
    main.rs.addNew();
    main.rs.setField(words::kWord, words::Value(QStringLiteral("b")));
    words::closeWindowStore(newWords, main);
    EXPECT_FALSE(newWords.isOpen());
    EXPECT_FALSE(main.isOpen());
    EXPECT_FALSE(main.conn);
    EXPECT_EQ(readRows(folders.paths.file(words::kWordFile), words::kWordTable).size(), 2u);
    words::closeWindowStore(newWords, main);  // twice is harmless
}

TEST(Closing, APendingRowThatCannotBeSavedStillLeavesThePairClosed) {
    TestFolders folders;
    folders.writeWordFile(words::kWordFile, {entry("a", "n.甲", 40)});
    const auto file = folders.paths.file(words::kWordFile);
    words::StorePair main;
    words::openPair(main, folders.paths, words::kWordFile, QString::fromLatin1(words::kWordsByUse));
    main.rs.addNew();
    main.rs.setField(words::kWord, words::Value(QStringLiteral("b")));

    sqlite3* other = nullptr;  // another program holds the file
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        words::closePair(main);
        ADD_FAILURE() << "the row was saved under a lock";
    } catch (const core::Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("qmlexi.dic")))
            << e.message().toStdString();
    }
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    EXPECT_FALSE(main.isOpen());
    EXPECT_FALSE(main.conn);
    words::closePair(main);  // nothing left to close
    words::openPair(main, folders.paths, words::kWordFile, QString::fromLatin1(words::kWordsByUse));
    EXPECT_EQ(main.rs.recordCount(), 1);
}

TEST(WordsInPlay, CountStopsAtTheFirstRowNotAboveTheThreshold) {
    TestFolders folders;
    folders.writeWordFile(words::kWordFile,
                          {entry("a", "n.甲", 50), entry("b", "n.乙", 30), entry("c", "n.丙", 29),
                           entry("d", "n.丁", 3), entry("e", "n.戊", 2)});
    words::StorePair main;
    words::openPair(main, folders.paths, words::kWordFile, QString::fromLatin1(words::kWordsByUse));
    EXPECT_EQ(words::countWordsInPlay(main.rs, 29), 2);
    EXPECT_EQ(words::countWordsInPlay(main.rs, 2), 4);
}

}  // namespace
