// Every one of the 65,536 four-digit groups decodes to the one character that the GBK
// converter gives for its code, or to "?" where the code is no GBK character.
#include "core/text.h"
#include "words/codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

// The converter's own answer for one group: a code below 100 is one byte, a code from 8000
// on a lead and a trail byte; everything else, and bytes that give no character or more than
// one (a pair led by 80, the euro sign), is no character of the code page.
QString converterAnswer(unsigned code) {
    QByteArray bytes;
    if (code <= 0xFF) {
        bytes.append(static_cast<char>(code));
    } else if (code >= 0x8000) {
        bytes.append(static_cast<char>(code >> 8));
        bytes.append(static_cast<char>(code & 0xFF));
    } else {
        return QStringLiteral("?");
    }
    const auto text = core::fromGbk(bytes);
    return text && text->size() == 1 ? *text : QStringLiteral("?");
}

TEST(CodecGroups, EveryGroupDecodesAsTheConverterReadsItsCode) {
    int mismatches = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        const QString upper = QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
        const QString expected = converterAnswer(code);
        const QString decoded = words::HexToGB(upper);
        if (decoded != expected && ++mismatches <= 10) {
            ADD_FAILURE() << "group " << upper.toStdString() << " gives " << decoded.toStdString()
                          << ", the converter " << expected.toStdString();
        }
        // Lower-case digits are read alike.
        if (code % 97 == 0) {
            EXPECT_EQ(words::HexToGB(upper.toLower()), expected) << upper.toStdString();
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(CodecGroups, ABadPairSpoilsNoNeighbour) {
    // 书 (CAE9), then a pair that is no GBK character (FFFF), then the letter a.
    EXPECT_EQ(words::HexToGB(QStringLiteral("CAE9FFFF0061")), QStringLiteral("书?a"));
    EXPECT_EQ(words::HexToGB(QStringLiteral("00G1CAE9")), QStringLiteral("?书"));
    // A pair led by 80 would read as the euro sign and one more character: it is none.
    EXPECT_EQ(words::HexToGB(QStringLiteral("804100800061")), QStringLiteral("?€a"));
}

}  // namespace

namespace {

TEST(CodecGroups, AStoredNoteReadsAsItsReversedHexText) {
    // Stored notes of every length, partial groups included, with digits of both cases and
    // characters that are no digits.
    const QString alphabet = QStringLiteral("0123456789ABCDEFabcdef8GZ书");
    std::uint32_t state = 12345;
    for (int n = 0; n < 2000; ++n) {
        QString stored;
        for (int i = 0; i < n % 23; ++i) {
            state = state * 1103515245u + 12345u;
            stored += alphabet[static_cast<qsizetype>((state >> 16) % alphabet.size())];
        }
        QString reversed = stored;
        std::reverse(reversed.begin(), reversed.end());
        ASSERT_EQ(words::fromStoredNote(stored), words::HexToGB(reversed)) << stored.toStdString();
    }
}

}  // namespace
