#include "words/recordset.h"
#include "words/word_store.h"

#include "core/failure.h"
#include "tests/support/folders.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using testing_support::entry;
using testing_support::readRows;
using testing_support::TestFolders;
using words::Value;

class RecordsetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folders.writeWordFile(
            words::kWordFile,
            {entry("b", "n.乙", 20, 3), entry("a", "n.甲", 30, 1), entry("c", "v.丙", 10, 2)});
        db = std::make_unique<words::Database>(folders.paths.file(words::kWordFile));
    }
    std::vector<QString> order(words::Recordset& rs) {
        std::vector<QString> words;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            words.push_back(rs.field(words::kWord).text());
        }
        return words;
    }
    TestFolders folders;
    std::unique_ptr<words::Database> db;
};

TEST_F(RecordsetTest, HoldsTheWholeResultInQueryOrder) {
    words::Recordset rs;
    EXPECT_FALSE(rs.isOpen());
    rs.open(*db, QString::fromLatin1(words::kWordsByUse));
    EXPECT_TRUE(rs.isOpen());
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(order(rs), (std::vector<QString>{"a", "b", "c"}));
    rs.moveFirst();
    rs.move(2);
    EXPECT_EQ(rs.position(), 3);
    EXPECT_EQ(rs.field(words::kWord).text(), QStringLiteral("c"));
    EXPECT_EQ(words::currentGloss(rs), QStringLiteral("v.丙"));
}

TEST_F(RecordsetTest, SortsAfterOpeningAndKeepsEqualRowsInOrder) {
    words::Recordset rs;
    rs.open(*db, QString::fromLatin1(words::kWordsUnsorted));
    rs.sort(QStringLiteral("qmdelete desc"));
    EXPECT_EQ(order(rs), (std::vector<QString>{"b", "c", "a"}));
    rs.sort(QStringLiteral("qmword asc"));
    EXPECT_EQ(order(rs), (std::vector<QString>{"a", "b", "c"}));
    rs.moveFirst();
    rs.setField(words::kDelete, 3);  // a ties with b now
    rs.sort(QStringLiteral("qmdelete desc"));
    EXPECT_EQ(order(rs), (std::vector<QString>{"a", "b", "c"}));
}

TEST_F(RecordsetTest, AFieldNamedFromABufferThatLaterHoldsAnotherNameIsReadByItsName) {
    // A caller may name fields from one buffer of its own, rewritten between reads: the same
    // address then names another field.
    words::Recordset rs;
    rs.open(*db, QString::fromLatin1(words::kWordsByUse));
    char name[16] = "qmword";
    EXPECT_EQ(rs.field(name).text(), QStringLiteral("a"));
    std::strcpy(name, "qmuse");
    EXPECT_EQ(rs.field(name).number(), 30);
    std::strcpy(name, "QMWORD");
    EXPECT_EQ(rs.field(name).text(), QStringLiteral("a"));
}

TEST_F(RecordsetTest, MovesStopAtTheEndsAndReadingThereFails) {
    words::Recordset rs;
    rs.open(*db, QString::fromLatin1(words::kWordsByUse));
    rs.moveFirst();
    rs.move(10);
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.field(words::kWord), core::Error);
    rs.moveFirst();
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_THROW(rs.field(words::kWord), core::Error);
}

TEST_F(RecordsetTest, ChangesReachTheFileAtOnce) {
    words::Recordset rs;
    rs.open(*db, QString::fromLatin1(words::kWordsByUse));
    rs.moveFirst();
    rs.setField(words::kUse, 35);
    rs.addNew();
    rs.setField(words::kWord, Value(QStringLiteral("d")));
    rs.setField(words::kUse, 5);
    rs.update();
    rs.moveFirst();
    rs.move(1);
    rs.deleteCurrent();
    EXPECT_EQ(rs.recordCount(), 3);

    const auto rows = readRows(folders.paths.file(words::kWordFile), words::kWordTable);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(*rows[0].qmword, QStringLiteral("a"));
    EXPECT_EQ(rows[0].qmuse, 35);
    EXPECT_EQ(*rows[1].qmword, QStringLiteral("c"));
    EXPECT_EQ(*rows[2].qmword, QStringLiteral("d"));
    EXPECT_TRUE(rows[2].qmnote.isEmpty());
}

TEST_F(RecordsetTest, DeletingWhileWalkingVisitsEveryRow) {
    words::Recordset rs;
    rs.open(*db, QString::fromLatin1(words::kWordsByUse));
    int visited = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        ++visited;
        rs.deleteCurrent();
    }
    EXPECT_EQ(visited, 3);
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_TRUE(readRows(folders.paths.file(words::kWordFile), words::kWordTable).empty());
}

TEST_F(RecordsetTest, APendingRowIsSavedWhenMovingAwayOrClosing) {
    words::Recordset rs;
    rs.open(*db, QString::fromLatin1(words::kWordsByUse));
    rs.addNew();
    rs.setField(words::kWord, Value(QStringLiteral("e")));
    rs.moveFirst();
    rs.addNew();
    rs.setField(words::kWord, Value(QStringLiteral("f")));
    rs.close();
    EXPECT_EQ(readRows(folders.paths.file(words::kWordFile), words::kWordTable).size(), 5u);
}

// After a delete the current row is gone; moves count from the gap it left.
struct MoveAfterDeleteCase {
    int deleted;     // 1-based position in qmuse order (a, b, c)
    int move;        // argument of move(); 0 stands for moveNext, 100 for movePrevious
    const char* at;  // the word reached, or "EOF" / "BOF"
};

TEST_F(RecordsetTest, MovesAfterADeleteCountFromTheGap) {
    const MoveAfterDeleteCase cases[] = {
        {2, 0, "c"},   {2, 100, "a"}, {2, 1, "c"},     {2, -1, "a"}, {2, 2, "EOF"},
        {3, 0, "EOF"}, {3, 100, "b"}, {1, 100, "BOF"}, {1, 0, "b"},  {1, 2, "c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "delete " << c.deleted << ", move " << c.move);
        folders.writeWordFile(
            words::kWordFile,
            {entry("a", "n.甲", 30, 1), entry("b", "n.乙", 20, 3), entry("c", "v.丙", 10, 2)});
        words::Database file(folders.paths.file(words::kWordFile));
        words::Recordset rs;
        rs.open(file, QString::fromLatin1(words::kWordsByUse));
        rs.moveFirst();
        rs.move(c.deleted - 1);
        rs.deleteCurrent();
        EXPECT_THROW(rs.field(words::kWord), core::Error);
        if (c.move == 0) {
            rs.moveNext();
        } else if (c.move == 100) {
            rs.movePrevious();
        } else {
            rs.move(c.move);
        }
        const QString at = rs.eof()   ? QStringLiteral("EOF")
                           : rs.bof() ? QStringLiteral("BOF")
                                      : rs.field(words::kWord).text();
        EXPECT_EQ(at, QString::fromLatin1(c.at));
        EXPECT_EQ(rs.recordCount(), 2);
    }
}

TEST_F(RecordsetTest, ANewRowIsSavedBeforeASortAndItsLaterWritesReachTheFile) {
    words::Recordset rs;
    rs.open(*db, QString::fromLatin1(words::kWordsUnsorted));
    rs.addNew();
    rs.setField(words::kWord, Value(QStringLiteral("d")));
    rs.setField(words::kDelete, 5);
    // Until it is saved, the new row is the recordset's only.
    EXPECT_EQ(readRows(folders.paths.file(words::kWordFile), words::kWordTable).size(), 3u);
    rs.sort(QStringLiteral("qmdelete desc"));
    EXPECT_EQ(order(rs), (std::vector<QString>{"d", "b", "c", "a"}));
    rs.moveFirst();
    rs.setField(words::kUse, 77);
    rs.close();

    const auto rows = readRows(folders.paths.file(words::kWordFile), words::kWordTable);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(*rows[3].qmword, QStringLiteral("d"));
    EXPECT_EQ(rows[3].qmdelete, 5);
    EXPECT_EQ(rows[3].qmuse, 77);
}

TEST_F(RecordsetTest, NullHeadwordsAreToldApartFromEmptyOnes) {
    folders.writeWordFile(words::kNewWordFile, {{std::nullopt, {}, 1, 1}, entry("", "n.空", 1, 1)},
                          words::kNewWordTable);
    words::Database list(folders.paths.file(words::kNewWordFile));
    words::Recordset rs;
    rs.open(list, QString::fromLatin1(words::kListByDeleteAsc));
    rs.moveFirst();
    EXPECT_TRUE(rs.field(words::kWord).isNull());
    rs.moveNext();
    EXPECT_FALSE(rs.field(words::kWord).isNull());
    EXPECT_EQ(rs.field(words::kWord).text(), QString());
}

// The position a walk from the first row finds: the first row whose headword is `word`.
int walkFor(words::Recordset& rs, const QString& word) {
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const Value& v = rs.field(words::kWord);
        if (!v.isNull() && v.text() == word) {
            return rs.position();
        }
    }
    return 0;
}

TEST_F(RecordsetTest, FindFirstGivesWhatAWalkFindsAsTheRowsAndTheirOrderChange) {
    folders.writeWordFile(words::kWordFile, {entry("go", "v.去", 50, 4),
                                             entry("run", "v.跑", 40, 9),
                                             entry("go", "n.围棋", 30, 7),
                                             {std::nullopt, {}, 20, 1},
                                             entry("", "n.空", 10, 2)});
    words::Database file(folders.paths.file(words::kWordFile));
    words::Recordset rs;
    EXPECT_EQ(rs.findFirst(words::kWord, QStringLiteral("go")), 0);  // not open
    rs.open(file, QString::fromLatin1(words::kWordsByUse));
    const auto agrees = [&](const QString& word) {
        const int found = rs.findFirst(words::kWord, word);
        EXPECT_EQ(found, walkFor(rs, word)) << word.toStdString();
        return found;
    };
    rs.moveFirst();
    rs.move(1);
    EXPECT_EQ(rs.findFirst(words::kWord, QStringLiteral("go")), 1);  // the first of two
    EXPECT_EQ(rs.position(), 2);                                     // the current row stays
    EXPECT_EQ(agrees(QStringLiteral("run")), 2);
    EXPECT_EQ(agrees(QStringLiteral("walk")), 0);
    EXPECT_EQ(agrees(QString()), 5);  // the empty headword, never the Null one
    EXPECT_EQ(rs.findFirst(words::kWord, QStringLiteral("Go")), 0);  // case counts

    // A new order: the other "go" comes first.
    rs.sort(QStringLiteral("qmdelete desc"));
    EXPECT_EQ(agrees(QStringLiteral("go")), 2);
    EXPECT_EQ(agrees(QStringLiteral("run")), 1);
    // A headword changed, a row deleted, a row added.
    rs.moveFirst();
    rs.setField(words::kWord, Value(QStringLiteral("ran")));
    EXPECT_EQ(agrees(QStringLiteral("run")), 0);
    EXPECT_EQ(agrees(QStringLiteral("ran")), 1);
    rs.moveFirst();
    rs.deleteCurrent();
    EXPECT_EQ(agrees(QStringLiteral("go")), 1);
    rs.addNew();
    rs.setField(words::kWord, Value(QStringLiteral("sit")));
    EXPECT_EQ(agrees(QStringLiteral("sit")), rs.recordCount());
    // Other fields change without disturbing it.
    rs.moveFirst();
    rs.setField(words::kUse, 99);
    EXPECT_EQ(agrees(QStringLiteral("go")), 1);
    // A headword stored as a number is found by its decimal text, as a walk compares it.
    rs.moveFirst();
    rs.setField(words::kWord, Value(12.0));
    EXPECT_EQ(agrees(QStringLiteral("12")), 1);  // one look-up scans the rows
    EXPECT_EQ(agrees(QStringLiteral("12")), 1);  // the next ones use the index
    EXPECT_EQ(agrees(QStringLiteral("go")), 2);
}

TEST_F(RecordsetTest, LargeTablesKeepEveryFieldInItsRow) {
    // More fields than one block of the store holds.
    std::vector<words::WordEntry> rows;
    for (int i = 0; i < 5000; ++i) {
        rows.push_back(entry(QStringLiteral("w%1").arg(i), QStringLiteral("n.词"), 6000 - i, i));
    }
    rows.push_back(entry(QStringLiteral("w7"), QStringLiteral("v.重"), 1, 1));
    folders.writeWordFile(words::kWordFile, rows);
    words::Database file(folders.paths.file(words::kWordFile));
    words::Recordset rs;
    rs.open(file, QString::fromLatin1(words::kWordsByUse));
    ASSERT_EQ(rs.recordCount(), 5001);
    for (int pos : {1, 1024, 1025, 4096, 4097, 5000}) {
        rs.moveFirst();
        rs.move(pos - 1);
        EXPECT_EQ(rs.field(words::kWord).text(), QStringLiteral("w%1").arg(pos - 1));
        EXPECT_EQ(rs.field(words::kDelete).number(), pos - 1);
    }
    EXPECT_EQ(rs.findFirst(words::kWord, QStringLiteral("w4999")), 5000);
    EXPECT_EQ(rs.findFirst(words::kWord, QStringLiteral("w7")), 8);
    rs.addNew();
    rs.setField(words::kWord, Value(QStringLiteral("new")));
    rs.update();
    EXPECT_EQ(rs.findFirst(words::kWord, QStringLiteral("new")), 5002);
    EXPECT_EQ(rs.field(words::kUse).isNull(), true);
}

TEST_F(RecordsetTest, WordsInPlayCountFromTheTopAndStopAtTheFirstBelow) {
    folders.writeWordFile(words::kWordFile, {entry("a", "n.甲", 40), entry("b", "n.乙", 30),
                                             entry("c", "n.丙", 29), entry("d", "n.丁", 35)});
    words::Database file(folders.paths.file(words::kWordFile));
    words::Recordset rs;
    EXPECT_EQ(words::countWordsInPlay(rs, 29), 0);  // not open
    rs.open(file, QString::fromLatin1(words::kWordsUnsorted));
    EXPECT_EQ(words::countWordsInPlay(rs, 29), 2);  // d lies beyond the first word at 29
    EXPECT_EQ(rs.field(words::kWord).text(), QStringLiteral("c"));
    EXPECT_EQ(words::countWordsInPlay(rs, 2), 4);
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(words::countWordsInPlay(rs, 40), 0);
    EXPECT_EQ(rs.position(), 1);
}

TEST(DatabaseFiles, MissingForeignOrTablelessFilesFailNamingTheFile) {
    TestFolders folders;
    const auto missing = folders.paths.file("qmlexi.dic");
    try {
        words::Database db(missing);
        FAIL() << "opened a missing file";
    } catch (const core::Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("qmlexi.dic")));
    }
    EXPECT_FALSE(std::filesystem::exists(missing));  // nothing created

    QFile junk(core::pathText(missing));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, '\x5a'));
    junk.close();
    try {
        words::StorePair pair;
        words::openPair(pair, folders.paths, words::kWordFile,
                        QString::fromLatin1(words::kWordsByUse));
        FAIL() << "opened junk";
    } catch (const core::Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("qmlexi.dic")));
    }

    words::Database::create(folders.paths.file("empty.dic"));
    words::Database empty(folders.paths.file("empty.dic"));
    words::Recordset rs;
    try {
        rs.open(empty, QString::fromLatin1(words::kWordsByUse));
        FAIL() << "opened a missing table";
    } catch (const core::Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("empty.dic")));
    }
    EXPECT_FALSE(rs.isOpen());
}

}  // namespace
