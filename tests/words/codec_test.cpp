#include "words/codec.h"

#include "core/failure.h"

#include <gtest/gtest.h>

namespace {

using words::GBToHex;
using words::HexToGB;

TEST(Codec, WorkedExamples) {
    EXPECT_EQ(GBToHex(QStringLiteral("abc")), QStringLiteral("006100620063"));
    EXPECT_EQ(words::toStoredNote(QStringLiteral("abc")), QStringLiteral("360026001600"));
    EXPECT_EQ(GBToHex(QStringLiteral("n.书")), QStringLiteral("006E002ECAE9"));
    EXPECT_EQ(words::toStoredNote(QStringLiteral("n.书")), QStringLiteral("9EACE200E600"));
    EXPECT_EQ(words::fromStoredNote(QStringLiteral("9EACE200E600")), QStringLiteral("n.书"));
    EXPECT_EQ(HexToGB(QStringLiteral("0061006")), QStringLiteral("a"));
}

TEST(Codec, EmptyAndPartialGroupsGiveEmptyText) {
    EXPECT_EQ(GBToHex(QString()), QString());
    EXPECT_EQ(HexToGB(QString()), QString());
    for (const char* partial : {"0", "00", "006"}) {
        EXPECT_EQ(HexToGB(QString::fromLatin1(partial)), QString()) << partial;
    }
    EXPECT_EQ(HexToGB(QStringLiteral("CAE90061CA")), QStringLiteral("书a"));
}

TEST(Codec, GlossesRoundTrip) {
    for (const QString& gloss :
         {QStringLiteral("v.go的过去式"), QStringLiteral("n.书；书籍；v.预订"),
          QStringLiteral("adj.大的 (big)"), QStringLiteral("prep.在…里"), QStringLiteral("~!@#"),
          QStringLiteral("n.欧元(€)")}) {
        EXPECT_EQ(words::fromStoredNote(words::toStoredNote(gloss)), gloss) << gloss.toStdString();
    }
}

TEST(Codec, DecodingIntoOneBufferGivesEachGlossWhole) {
    // A walk decodes every row's gloss into the same text: a longer gloss before a shorter one
    // leaves nothing behind, and a copy taken of an earlier gloss keeps its own value.
    QString gloss;
    words::decodeStoredNote(words::toStoredNote(QStringLiteral("n.书；书籍；v.预订")), gloss);
    const QString kept = gloss;
    words::decodeStoredNote(words::toStoredNote(QStringLiteral("adj.大的")), gloss);
    EXPECT_EQ(gloss, QStringLiteral("adj.大的"));
    EXPECT_EQ(kept, QStringLiteral("n.书；书籍；v.预订"));
    words::decodeStoredNote(QStringView(u"00G1"), gloss);
    EXPECT_EQ(gloss, QStringLiteral("?"));
    words::decodeStoredNote(QStringView(), gloss);
    EXPECT_TRUE(gloss.isEmpty());
}

TEST(Codec, CharactersOutsideGbkBecomeQuestionMarks) {
    EXPECT_EQ(GBToHex(QStringLiteral("a\U0001F600b")), QStringLiteral("0061003F0062"));
    EXPECT_EQ(GBToHex(QStringLiteral("书\u0E01")), QStringLiteral("CAE9003F"));
}

TEST(Codec, BadGroupsDecodeToQuestionMarks) {
    EXPECT_EQ(HexToGB(QStringLiteral("00G1CAE9")), QStringLiteral("?书"));
    EXPECT_EQ(HexToGB(QStringLiteral("caE9")), QStringLiteral("书"));      // lower case digits read
    EXPECT_EQ(HexToGB(QStringLiteral("0100")), QStringLiteral("?"));       // no such code
    EXPECT_EQ(HexToGB(QStringLiteral("CA000061")), QStringLiteral("?a"));  // bad trail byte
    EXPECT_EQ(HexToGB(QStringLiteral("书书书书")), QStringLiteral("?"));
}

TEST(Codec, TheOneSingleByteAboveSevenFIsTheEuroSign) {
    EXPECT_EQ(GBToHex(QStringLiteral("€")), QStringLiteral("0080"));
    EXPECT_EQ(HexToGB(QStringLiteral("00800061")), QStringLiteral("€a"));
    // A lead byte alone is no character.
    EXPECT_EQ(HexToGB(QStringLiteral("0081006100FF")), QStringLiteral("?a?"));
}

TEST(Codec, LimitsAreEnforcedWithoutTouchingTheInput) {
    const QString longest(words::kMaxEncodeChars, QLatin1Char('a'));
    EXPECT_EQ(GBToHex(longest).size(), 4 * words::kMaxEncodeChars);
    EXPECT_THROW(GBToHex(longest + QLatin1Char('a')), core::Error);

    const QString most = QString(4 * words::kMaxDecodeGroups, QLatin1Char('0'));
    EXPECT_EQ(HexToGB(most).size(), words::kMaxDecodeGroups);
    EXPECT_EQ(HexToGB(most + QStringLiteral("006")).size(), words::kMaxDecodeGroups);
    EXPECT_THROW(HexToGB(most + QStringLiteral("0061")), core::Error);
}

}  // namespace
