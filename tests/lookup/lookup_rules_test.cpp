#include "lookup/lookup_rules.h"
#include "core/text.h"
#include "words/codec.h"

#include <gtest/gtest.h>

namespace {

QString u(const char* text) {
    return QString::fromUtf8(text);
}

QByteArray gbk(const char* text) {
    return *core::toGbk(u(text));
}

TEST(LookupPath, FirstCharacterChoosesThePath) {
    struct Case {
        const char* entry;
        bool chinese;
    };
    const Case cases[] =
        {
            {"apple", false},   {" 苹果", false}, {"7up", false},   {".net", false},
            {"“苹果", true},    {"苹果", true},   {"书book", true}, {"ｂｏｏｋ", true},
            {"😀 smile", false},  // no GBK code: written as "?", a single byte
            {"é", true},         // a pinyin letter of GBK: two bytes
        };
    for (const auto& c : cases) {
        EXPECT_EQ(lookup::takesChinesePath(u(c.entry)), c.chinese) << c.entry;
    }
    EXPECT_TRUE(lookup::takesChinesePath(QString(QChar(0))));  // code 0 is not positive
}

TEST(LookupExactHit, IgnoresOuterBlanksButNotCase) {
    EXPECT_TRUE(lookup::isExactHit(u("  apple "), u("apple")));
    EXPECT_TRUE(lookup::isExactHit(u("apple"), u(" apple  ")));
    EXPECT_FALSE(lookup::isExactHit(u("Apple"), u("apple")));
    EXPECT_FALSE(lookup::isExactHit(u("app le"), u("apple")));
    // Only spaces are blanks.
    EXPECT_FALSE(lookup::isExactHit(u("apple\t"), u("apple")));
}

TEST(LookupNearMatch, BandsByEntryLength) {
    struct Case {
        const char* entry;
        const char* headword;
        bool match;
    };
    const Case cases[] = {
        // 4 or less: equal apart from case and outer blanks.
        {"Book", "book", true},
        {"book", " BOOK ", true},
        {"boo", "book", false},
        {" bo ", "BO", true},
        {"a", "ab", false},
        // 5 to 7: first L - 1 characters.
        {"Apple", "apply", true},
        {"Apple", "APPLAUSE", true},
        {"Apple", "app", false},  // shorter than the prefix
        {"Apple", "appl", true},  // exactly as long as the prefix
        {"apple", " appl", false},
        {" apple", " apply", true},  // the leading blank stays in the prefix
        {" apple", "apple", false},
        {"abcdefg", "ABCDEFz", true},
        {"abcdefg", "abcdezz", false},
        // 8 to 10: first L - 2 characters.
        {"abcdefgh", "abcdefZZ", true},
        {"abcdefgh", "abcdeZZZ", false},
        {"abcdefghij", "ABCDEFGH", true},
        {"abcdefghij", "abcdefg", false},
        // 11 or more: first L - 3 characters.
        {"abcdefghijk", "abcdefghXXX", true},
        {"abcdefghijk", "abcdefgXXXX", false},
        {"international", "INTERNATIONALE", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookup::isNearMatch(u(c.entry), u(c.headword)), c.match)
            << c.entry << " / " << c.headword;
    }
}

TEST(LookupResultTexts, ListsAndNotFound) {
    lookup::ResultList list;
    EXPECT_EQ(list.suggestions(), u("您要找的是不是：\r\n"));
    list.add(u("apple"), u("n.苹果"));
    EXPECT_EQ(list.suggestions(), u("您要找的是不是：\r\napple\r\nn.苹果"));
    list.add(u("apply"), u("v.申请"));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.matches(false), u("apple\r\nn.苹果\r\n\r\napply\r\nv.申请"));
    EXPECT_EQ(list.matches(true),
              u("apple\r\nn.苹果\r\n\r\napply\r\nv.申请\r\n查询的条目太多，请重新选择条件。"));
    EXPECT_EQ(lookup::notFoundText(u("http://127.0.0.1/")),
              u("对不起，本词典中暂时没有这个词！\r\n请到http://127.0.0.1/"
                "网站告诉软件作者尽快增加这个词汇，谢谢！"));
}

TEST(ImportLines, SplitAtLineEnds) {
    struct Case {
        QByteArray content;
        std::vector<QByteArray> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a  b", {"a  b"}},
        {"a  b\r\n", {"a  b"}},
        {"a  b\r\nc  d", {"a  b", "c  d"}},
        {"a  b\r\nc  d\r\n", {"a  b", "c  d"}},
        {"a  b\r\n\r\nc  d\r\n", {"a  b", "", "c  d"}},
        {"a  b\nc  d\rx  y", {"a  b", "c  d", "x  y"}},
        {"\r\n", {""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookup::splitImportLines(c.content), c.lines) << c.content.constData();
    }
}

TEST(ImportLines, HeadwordEndsAtTheFirstPairOfBlanks) {
    struct Case {
        const char* line;
        const char* word;  // nullptr: the line is left out
        const char* gloss;
    };
    const Case cases[] = {
        {"apple  n.苹果", "apple", "n.苹果"},
        {"ice cream  n.冰淇淋", "ice cream", "n.冰淇淋"},  // single blanks stay
        {"a lot of   adv.许多  很多 ", "a lot of", "adv.许多  很多"},
        {"  lead  n.铅", nullptr, nullptr},  // begins with two blanks
        {" lead  n.铅", "lead", "n.铅"},
        {"no pair n.无", nullptr, nullptr},
        {"", nullptr, nullptr},
        {"   ", nullptr, nullptr},
        {"word  ", "word", ""},  // a headword with an empty gloss is still a word line
        {"tab\t\tn.制表", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto parsed = lookup::parseImportLine(u(c.line));
        if (c.word == nullptr) {
            EXPECT_FALSE(parsed) << c.line;
            continue;
        }
        ASSERT_TRUE(parsed) << c.line;
        EXPECT_EQ(parsed->word, u(c.word));
        EXPECT_EQ(parsed->gloss, u(c.gloss));
    }
}

TEST(ImportLines, ReadsGbkAndRefusesWhatCannotBeStored) {
    const auto line = lookup::readImportLine(gbk("book  n.书"));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->word, u("book"));
    EXPECT_EQ(line->gloss, u("n.书"));

    EXPECT_FALSE(lookup::readImportLine(QByteArray("book  n.\xCA", 9)));   // lead byte alone
    EXPECT_FALSE(lookup::readImportLine(QByteArray("book  n.\xFF\xFF")));  // no GBK character

    // A gloss is read back from the store in at most this many characters.
    const QByteArray longest = "long  " + QByteArray(words::kMaxDecodeGroups, 'x');
    EXPECT_TRUE(lookup::readImportLine(longest));
    EXPECT_FALSE(lookup::readImportLine(longest + "x"));
}

TEST(ImportLines, SkippedLinesAreNamed) {
    EXPECT_EQ(lookup::skippedLinesMessage({3}).section(u("\n"), 0, 0),
              u("以下各行没有录入：第 3 行。"));
    EXPECT_TRUE(
        lookup::skippedLinesMessage({2, 5, 9}).startsWith(u("以下各行没有录入：第 2、5、9 行。")));
    std::vector<int> many;
    for (int i = 1; i <= 25; ++i) {
        many.push_back(i * 2);
    }
    const QString text = lookup::skippedLinesMessage(many);
    EXPECT_TRUE(text.contains(u("、40 行等，共 25 行。"))) << text.toStdString();
    EXPECT_FALSE(text.contains(u("42")));
}

TEST(GlossCleanUp, SpacedDotsBecomeThreeDots) {
    struct Case {
        const char* gloss;
        const char* cleaned;  // nullptr: the gloss is left as it is
    };
    const Case cases[] = {
        {"v.把. . . 放在", "v.把...放在"},
        {"n.. . . 和. . . 之间", "n....和...之间"},
        {"v.使. . . ", "v.使..."},
        {"v.使. . .", nullptr},  // no blank after the last dot
        {"v.使...成为", nullptr},
        {"n.书", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto cleaned = lookup::cleanedGloss(u(c.gloss));
        if (c.cleaned == nullptr) {
            EXPECT_FALSE(cleaned) << c.gloss;
        } else {
            ASSERT_TRUE(cleaned) << c.gloss;
            EXPECT_EQ(*cleaned, u(c.cleaned));
        }
    }
}

TEST(GlossCheck, MeaningAfterThePrefix) {
    struct Case {
        const char* gloss;
        bool lacks;
    };
    const Case cases[] = {
        {"n.书", false}, {"n.", true},       {"adj.   ", true}, {"苹果", true},
        {"", true},      {"v.. . .", false}, {"n. 书 ", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookup::glossLacksMeaning(u(c.gloss)), c.lacks) << c.gloss;
    }
}

}  // namespace
