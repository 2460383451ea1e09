#include "words/recordset.h"
#include "words/word_store.h"

#include "core/failure.h"
#include "tests/support/folders.h"

#include <QFile>

#include <gtest/gtest.h>

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
