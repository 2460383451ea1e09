// The word database built from the vocabulary source: every word in study order, every gloss
// readable and in the gloss conventions.
#include "words/codec.h"
#include "words/recordset.h"
#include "words/word_line.h"
#include "words/word_store.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

QStringList sourceLines() {
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

fs::path builtFile(const char* name) {
    return fs::path(QM_BUILD_DIR) / "shipped" / name;
}

const QRegularExpression& posPrefix() {
    static const QRegularExpression re(
        QStringLiteral("^(n|v|adj|adv|prep|conj|pron|num|int|art|aux)\\."));
    return re;
}

TEST(ShippedWords, TheBuiltDatabaseHoldsTheSourceInStudyOrder) {
    const QStringList lines = sourceLines();
    ASSERT_FALSE(lines.isEmpty());
    words::Database db(builtFile(words::kWordFile));
    words::Recordset rs;
    rs.open(db, QString::fromLatin1(words::kWordsByUse));
    ASSERT_EQ(rs.recordCount(), lines.size());
    double previousUse = 1e18;
    int position = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++position) {
        const auto line = words::parseWordLine(lines[position]);
        ASSERT_TRUE(line) << "line " << position + 1;
        ASSERT_EQ(rs.field(words::kWord).text(), line->word) << "line " << position + 1;
        const QString gloss = words::currentGloss(rs);
        ASSERT_EQ(gloss, line->gloss) << "line " << position + 1;
        EXPECT_TRUE(posPrefix().match(gloss).hasMatch()) << gloss.toStdString();
        const double use = rs.field(words::kUse).number();
        EXPECT_GT(use, 29);
        EXPECT_LT(use, previousUse);
        previousUse = use;
        EXPECT_EQ(rs.field(words::kDelete).number(), 10);
    }
}

TEST(ShippedWords, TheNewWordListsAreEmpty) {
    for (const char* name : {words::kNewWordFile, words::kNewWordTemplate}) {
        words::Database db(builtFile(name));
        words::Recordset rs;
        rs.open(db, QString::fromLatin1(words::kListByDeleteAsc));
        EXPECT_EQ(rs.recordCount(), 0) << name;
    }
}

}  // namespace
