// The shipped vocabulary source: every level range full, every line a word line with a
// part-of-speech gloss, no headword twice, every verb-form entry naming an earlier headword.
#include "words/word_line.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

struct Level {
    const char* name;
    int first;
    int last;
};

// The level ranges by position that the study plans and tests play.
constexpr Level kLevels[] = {
    {"600", 1, 600},      {"1500", 601, 1500},  {"3000", 1501, 3000},  {"4500", 3001, 6000},
    {"5500", 6001, 8000}, {"7000", 8001, 9500}, {"9000", 9501, 12000}, {"beyond", 12001, 15374},
};
constexpr int kShippedWords = 15374;

QStringList vocabulary() {
    QFile f(QStringLiteral(QM_SOURCE_DIR "/data/vocabulary.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList lines;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        lines << in.readLine();
    }
    return lines;
}

TEST(Vocabulary, FillsEveryLevelRangeExactly) {
    const QStringList lines = vocabulary();
    ASSERT_EQ(lines.size(), kShippedWords);
    int counted = 0;
    for (const Level& level : kLevels) {
        const int inRange =
            std::min<int>(level.last, static_cast<int>(lines.size())) - level.first + 1;
        EXPECT_EQ(inRange, level.last - level.first + 1) << level.name;
        counted += inRange;
    }
    EXPECT_EQ(counted, kShippedWords);
}

TEST(Vocabulary, EveryLineIsAWordWithAPrefixedShortGloss) {
    static const QRegularExpression prefix(
        QStringLiteral("^(n|v|adj|adv|prep|conj|pron|num|int|art|aux)\\."));
    const QStringList lines = vocabulary();
    QHash<QString, int> seen;
    for (int i = 0; i < lines.size(); ++i) {
        const auto line = words::parseWordLine(lines[i]);
        ASSERT_TRUE(line) << "line " << i + 1;
        EXPECT_FALSE(line->gloss.contains(QLatin1String("  "))) << "line " << i + 1;
        EXPECT_TRUE(prefix.match(line->gloss).hasMatch()) << "line " << i + 1;
        // An answer row takes a gloss of up to 130 bytes in its largest font.
        EXPECT_LE(2 * line->gloss.size(), 130) << "line " << i + 1;
        EXPECT_FALSE(seen.contains(line->word))
            << "line " << i + 1 << " repeats line " << seen.value(line->word);
        seen.insert(line->word, i + 1);
    }
}

TEST(Vocabulary, VerbFormsNameABaseThatStandsBeforeThem) {
    static const QRegularExpression form(
        QStringLiteral("^v\\.([^的]+)的(过去式|过去分词|现在分词|过去式和过去分词)$"));
    const QStringList lines = vocabulary();
    QHash<QString, int> position;
    int forms = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const auto line = words::parseWordLine(lines[i]);
        ASSERT_TRUE(line);
        position.insert(line->word, i + 1);
        if (line->gloss.endsWith(QStringLiteral("过去式")) ||
            line->gloss.endsWith(QStringLiteral("过去分词")) ||
            line->gloss.endsWith(QStringLiteral("现在分词"))) {
            const auto m = form.match(line->gloss);
            ASSERT_TRUE(m.hasMatch()) << "line " << i + 1;
            EXPECT_TRUE(position.contains(m.captured(1)))
                << "line " << i + 1 << ": base " << m.captured(1).toStdString();
            ++forms;
        }
    }
    EXPECT_GT(forms, 300);
}

}  // namespace
