#include "tests/lookup/dictionary_fixture.h"

#include "core/text.h"
#include "words/codec.h"

#include <QPushButton>

#include <filesystem>

namespace dictionary_testing {
namespace {

using testing_support::readRows;

/// The maintainer's file as the maintainer's editor writes it: GBK.
QByteArray gbk(const QString& text) {
    return *core::toGbk(text);
}

class UpkeepTest : public DictionaryWindowTest {
  protected:
    /// Writes the import file, opens the window (upkeep buttons shown) and clicks import.
    void import(const QByteArray& content) {
        fake.folders.createMaintainerFile(content);
        load();
        window->Command1->click();
    }
    std::vector<words::WordEntry> stored() const {
        return readRows(fake.folders.paths.file(words::kWordFile), words::kWordTable);
    }
    /// (headword, gloss) of every stored row, in rowid order.
    std::vector<std::pair<QString, QString>> storedWords() const {
        std::vector<std::pair<QString, QString>> rows;
        for (const auto& row : stored()) {
            rows.emplace_back(row.qmword.value_or(u("<null>")), words::fromStoredNote(row.qmnote));
        }
        return rows;
    }
    using Rows = std::vector<std::pair<QString, QString>>;
};

// ---- Import ---------------------------------------------------------------------------------

TEST_F(UpkeepTest, ImportAddsEveryLineWithUseAndDeleteTen) {
    words({{"apple", "n.苹果"}});
    import(
        gbk(u("ice cream  n.冰淇淋\r\n"
              "a lot of   adv.许多  很多 \r\n"
              "apple  n.苹果\r\n")));
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(storedWords(), (Rows{{u("apple"), u("n.苹果")},
                                   {u("ice cream"), u("n.冰淇淋")},       // single blank kept
                                   {u("a lot of"), u("adv.许多  很多")},  // later runs stay
                                   {u("apple"), u("n.苹果")}}));          // added again
    for (size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].qmuse, 10);
        EXPECT_EQ(rows[i].qmdelete, 10);
        EXPECT_EQ(rows[i].qmnote, words::toStoredNote(words::fromStoredNote(rows[i].qmnote)));
    }
    EXPECT_EQ(rows[1].qmnote, words::toStoredNote(u("n.冰淇淋")));
    EXPECT_EQ(fake.messages.shown, QStringList{u("ok")});
    EXPECT_EQ(window->mWords.rs.recordCount(), 4);
    expectNoFailure();
}

TEST_F(UpkeepTest, LastLineIsImportedWithOrWithoutItsLineEnd) {
    for (const char* content : {"one  n.一\r\ntwo  n.二", "one  n.一\r\ntwo  n.二\r\n"}) {
        words(std::vector<words::WordEntry>{});
        import(gbk(u(content)));
        EXPECT_EQ(storedWords(), (Rows{{u("one"), u("n.一")}, {u("two"), u("n.二")}})) << content;
        EXPECT_EQ(fake.messages.shown, QStringList{u("ok")});
        fake.messages.shown.clear();
    }
}

TEST_F(UpkeepTest, EmptyImportFileAddsNothingAndSaysNothing) {
    words({{"apple", "n.苹果"}});
    import({});
    EXPECT_EQ(stored().size(), 1u);
    EXPECT_TRUE(fake.messages.shown.isEmpty());
    expectNoFailure();
}

TEST_F(UpkeepTest, ImportedWordIsFoundAtOnce) {
    words({{"apple", "n.苹果"}});
    import(gbk(u("zebra  n.斑马\r\n")));
    lookUp("zebra");
    EXPECT_EQ(result(), shown("zebra\r\nn.斑马"));
    lookUp("斑马");
    EXPECT_EQ(result(), shown("zebra\r\nn.斑马"));
    lookUp("zebro");  // L = 5: the prefix zebr
    EXPECT_EQ(result(), shown("您要找的是不是：\r\nzebra\r\nn.斑马"));
}

TEST_F(UpkeepTest, LookUpsMadeBeforeAnUpkeepToolSeeItsChangesAfterIt) {
    words({{"apple", "n.苹果"}, {"put", "v.把. . . 放在"}});
    fake.folders.createMaintainerFile(gbk(u("zebra  n.斑马\r\n")));
    load();
    lookUp("斑马");
    EXPECT_EQ(result(), notFound());
    lookUp("放在");
    EXPECT_EQ(result(), shown("put\r\nv.把. . . 放在"));

    window->Command1->click();  // import
    lookUp("斑马");
    EXPECT_EQ(result(), shown("zebra\r\nn.斑马"));

    window->Command3->click();  // clean-up
    lookUp("放在");
    EXPECT_EQ(result(), shown("put\r\nv.把...放在"));
    lookUp("把. . .");
    EXPECT_EQ(result(), notFound());

    window->Command2->click();  // gloss check: the table re-opened in headword order
    lookUp("果");
    EXPECT_EQ(result(), shown("apple\r\nn.苹果"));
    lookUp("马");
    EXPECT_EQ(result(), shown("zebra\r\nn.斑马"));
    expectNoFailure();
}

TEST_F(UpkeepTest, MalformedLinesAreLeftOutAndNamedOnce) {
    words(std::vector<words::WordEntry>{});
    QByteArray content =
        gbk(u("good  n.好\r\n"
              "nopair n.无\r\n"
              "\r\n"
              "  lead  n.铅\r\n"));
    content += "bad  n.\xFF\xFF\r\n";
    content += gbk(u("fine  n.行\r\n"));
    import(content);
    EXPECT_EQ(storedWords(), (Rows{{u("good"), u("n.好")}, {u("fine"), u("n.行")}}));
    ASSERT_EQ(fake.messages.shown.size(), 2);
    EXPECT_TRUE(fake.messages.shown[0].startsWith(u("以下各行没有录入：第 2、3、4、5 行。")))
        << fake.messages.shown[0].toStdString();
    EXPECT_EQ(fake.messages.shown[1], u("ok"));
    expectNoFailure();
}

TEST_F(UpkeepTest, ImportFileGoneSinceTheWindowOpenedChangesNothing) {
    words({{"apple", "n.苹果"}});
    fake.folders.createMaintainerFile(gbk(u("zebra  n.斑马\r\n")));
    load();
    std::filesystem::remove(fake.folders.paths.maintainerFile);
    window->Command1_Click();
    EXPECT_EQ(stored().size(), 1u);
    EXPECT_EQ(window->mWords.rs.recordCount(), 1);
    ASSERT_EQ(fake.messages.shown.size(), 1);
    EXPECT_TRUE(fake.messages.shown[0].contains(u("waittoadd.txt")))
        << fake.messages.shown[0].toStdString();
    expectNoFailure();
}

TEST_F(UpkeepTest, TenThousandLinesAllReachTheFile) {
    words({{"apple", "n.苹果"}});
    QByteArray content;
    for (int i = 1; i <= 10000; ++i) {
        content += gbk(QStringLiteral("word%1  n.词%1\r\n").arg(i));
    }
    import(content);
    // Read through a connection of its own: the rows are committed, not just held.
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 10001u);
    EXPECT_EQ(rows.back().qmword, u("word10000"));
    EXPECT_EQ(words::fromStoredNote(rows.back().qmnote), u("n.词10000"));
    EXPECT_EQ(window->mWords.rs.recordCount(), 10001);
    // The window's connection is back to committing every change on its own.
    lookUp("apple");
    fake.folders.createMaintainerFile(gbk(u("late  n.晚\r\n")));
    window->Command1_Click();
    EXPECT_EQ(stored().size(), 10002u);
    expectNoFailure();
}

// ---- Gloss check ----------------------------------------------------------------------------

TEST_F(UpkeepTest, GlossCheckReopensAndShowsGlossesWithoutMeaning) {
    words({{"book", "n.书"}, {"pear", "n."}, {"tall", "adj.  "}, {"apple", "苹果"}});
    {
        words::Database db(fake.folders.paths.file(words::kWordFile));
        db.execute(
            u("insert into qmlexitable (qmword, qmnote, qmuse, qmdelete) "
              "values ('nothing', null, 1, 1)"));
    }
    import(gbk(u("cat  n.\r\n")));
    fake.messages.shown.clear();
    window->Command2->click();
    // In headword order, the imported row among them.
    EXPECT_EQ(fake.messages.shown,
              (QStringList{u("苹果"), u("n."), u("nothing"), u("n."), u("adj.  "), u("ok")}));
    // After the re-opening the imported row stands in its place.
    auto& rs = window->mWords.rs;
    rs.moveFirst();
    rs.move(2);  // apple, book, cat
    EXPECT_EQ(rs.field(words::kWord).text(), u("cat"));
    expectNoFailure();
}

TEST_F(UpkeepTest, ToolsOnAnEmptyTableJustEndWithTheirMessages) {
    words(std::vector<words::WordEntry>{});
    fake.folders.createMaintainerFile();
    load();
    window->Command2_Click();
    window->Command3_Click();
    window->Command4_Click();
    EXPECT_EQ(fake.messages.shown, (QStringList{u("ok"), u("OK"), u("OK")}));
    expectNoFailure();
}

// ---- Gloss clean-up and walk ----------------------------------------------------------------

TEST_F(UpkeepTest, CleanUpRewritesEverySpacedDotsAndNothingElse) {
    words({{"a", "v.把. . . 放在"},
           {"b", "n.. . . 和. . . 之间"},
           {"c", "v.使. . ."},
           {"d", "v.使...成为"},
           {"e", "n.书"}});
    const auto before = stored();
    fake.folders.createMaintainerFile();
    load();
    window->Command3->click();
    const auto after = stored();
    EXPECT_EQ(storedWords(), (Rows{{u("a"), u("v.把...放在")},
                                   {u("b"), u("n....和...之间")},
                                   {u("c"), u("v.使. . .")},
                                   {u("d"), u("v.使...成为")},
                                   {u("e"), u("n.书")}}));
    for (size_t i = 2; i < after.size(); ++i) {
        EXPECT_EQ(after[i].qmnote, before[i].qmnote) << i;
    }
    EXPECT_EQ(fake.messages.shown, QStringList{u("OK")});
    // The window's own rows show the new glosses too.
    lookUp("a");
    EXPECT_EQ(result(), shown("a\r\nv.把...放在"));
}

TEST_F(UpkeepTest, WalkChangesNothing) {
    words({{"a", "v.把. . . 放在"}, {"b", "n.书"}});
    const auto before = stored();
    fake.folders.createMaintainerFile();
    load();
    window->Command4->click();
    const auto after = stored();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].qmword, before[i].qmword);
        EXPECT_EQ(after[i].qmnote, before[i].qmnote);
        EXPECT_EQ(after[i].qmuse, before[i].qmuse);
        EXPECT_EQ(after[i].qmdelete, before[i].qmdelete);
    }
    EXPECT_EQ(fake.messages.shown, QStringList{u("OK")});
    EXPECT_TRUE(window->mWords.rs.eof());
}

}  // namespace
}  // namespace dictionary_testing
