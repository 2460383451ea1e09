#include "words/codec.h"

#include "core/failure.h"
#include "core/text.h"

#include <QList>

#include <iconv.h>

#include <algorithm>
#include <array>

namespace words {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendGroup(QString& out, unsigned code) {
    for (int shift = 12; shift >= 0; shift -= 4) {
        out.append(QLatin1Char(kHexDigits[(code >> shift) & 0xF]));
    }
}

// The value of every hex digit by character code; -1 for every other character.
constexpr std::array<signed char, 128> kDigitValues = [] {
    std::array<signed char, 128> v{};
    v.fill(-1);
    for (int i = 0; i < 10; ++i) {
        v['0' + i] = static_cast<signed char>(i);
    }
    for (int i = 0; i < 6; ++i) {
        v['A' + i] = v['a' + i] = static_cast<signed char>(10 + i);
    }
    return v;
}();

// GBK bytes of a run of text that converted whole, appended one group per character.
void appendGbkGroups(QString& out, const QByteArray& gbk) {
    for (qsizetype i = 0; i < gbk.size(); ++i) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead >= 0x81 && i + 1 < gbk.size()) {
            const auto trail = static_cast<unsigned char>(gbk[i + 1]);
            appendGroup(out, lead * 256u + trail);
            ++i;
        } else {
            appendGroup(out, lead);
        }
    }
}

[[noreturn]] void overflow(const char* what, qsizetype size) {
    throw core::Error(QStringLiteral("溢出: %1 (%2)").arg(QString::fromLatin1(what)).arg(size));
}

// The character of every code above 7F in the GBK code page, read once from the converter: a gloss
// then decodes without a conversion per character, which matters where every gloss of the table is
// read (the dictionary's Chinese look-up).
constexpr char16_t kNoCharacter = 0xFFFF;

struct DoubleByteTable {
    std::array<char16_t, 0x80> high{};     // single bytes 80..FF (only 80, the euro sign)
    std::array<char16_t, 0x8000> units{};  // pairs 8000..FFFF, lead byte first
};

// The one character that these GBK bytes stand for, or kNoCharacter when they are no
// character or more than one (a pair led by 80 is the euro sign and one more byte).
char16_t oneCharacter(iconv_t cd, const char* bytes, size_t length) {
    char16_t unit[2] = {};
    char* inPtr = const_cast<char*>(bytes);
    size_t inLeft = length;
    char* outPtr = reinterpret_cast<char*>(unit);
    size_t outLeft = sizeof unit;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && inLeft == 0 &&
        outLeft == sizeof unit - sizeof(char16_t)) {
        return unit[0];
    }
    return kNoCharacter;
}

DoubleByteTable buildDoubleByteTable() {
    DoubleByteTable table;
    iconv_t cd = iconv_open("UTF-16LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw core::Error(QStringLiteral("no GBK converter"));
    }
    for (unsigned code = 0x80; code <= 0xFF; ++code) {
        const char byte = static_cast<char>(code);
        table.high[code - 0x80] = oneCharacter(cd, &byte, 1);
    }
    for (unsigned code = 0x8000; code <= 0xFFFF; ++code) {
        const char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        table.units[code - 0x8000] = oneCharacter(cd, pair, 2);
    }
    iconv_close(cd);
    return table;
}

const DoubleByteTable& doubleByteTable() {
    static const DoubleByteTable table = buildDoubleByteTable();
    return table;
}

}  // namespace

QString GBToHex(const QString& text) {
    if (text.size() > kMaxEncodeChars) {
        overflow("GBToHex", text.size());
    }
    QString out;
    out.reserve(text.size() * 4);
    if (const auto gbk = core::toGbk(text)) {
        appendGbkGroups(out, *gbk);
        return out;
    }
    // Some character has no GBK code: convert one code point at a time, "?" for the misfits.
    const QList<uint> codes = text.toUcs4();
    for (uint code : codes) {
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        if (const auto gbk = core::toGbk(one); gbk && !gbk->isEmpty()) {
            appendGbkGroups(out, *gbk);
        } else {
            appendGroup(out, '?');
        }
    }
    return out;
}

namespace {

// The value of every pair of hex digits by their two character codes (both below 128), -1
// where either is no hex digit: a group of four digits is read in two look-ups.
constexpr std::array<short, 128 * 128> kPairValues = [] {
    std::array<short, 128 * 128> t{};
    for (int a = 0; a < 128; ++a) {
        for (int b = 0; b < 128; ++b) {
            const int va = kDigitValues[a];
            const int vb = kDigitValues[b];
            t[a * 128 + b] = static_cast<short>(va < 0 || vb < 0 ? -1 : va * 16 + vb);
        }
    }
    return t;
}();

// Decodes `groups` groups of a hex text whose k-th digit is digitAt(k) into `out`, whose
// storage is reused: the text itself, or a stored note read from its end, which saves
// reversing a copy first.
template <typename DigitAt>
void decodeGroupsInto(qsizetype groups, DigitAt digitAt, QString& out) {
    if (groups > kMaxDecodeGroups) {
        overflow("HexToGB", groups);
    }
    const DoubleByteTable& table = doubleByteTable();
    out.resize(groups);
    QChar* next = out.data();
    for (qsizetype g = 0; g < groups; ++g) {
        const unsigned c0 = digitAt(g * 4).unicode();
        const unsigned c1 = digitAt(g * 4 + 1).unicode();
        const unsigned c2 = digitAt(g * 4 + 2).unicode();
        const unsigned c3 = digitAt(g * 4 + 3).unicode();
        // A code of 8000 or more is a double-byte character, lead byte first; below 100 it is
        // a single byte, and GBK has one single byte above 7F (80, the euro sign). Each group
        // gives one character, "?" where its code is none, so a bad one spoils no neighbour.
        char16_t c = kNoCharacter;
        if ((c0 | c1 | c2 | c3) < 128) {
            const int high = kPairValues[c0 * 128 + c1];
            const int low = kPairValues[c2 * 128 + c3];
            if ((high | low) >= 0) {
                const unsigned code = static_cast<unsigned>(high * 256 + low);
                if (code < 0x80) {
                    c = static_cast<char16_t>(code);
                } else if (code <= 0xFF) {
                    c = table.high[code - 0x80];
                } else if (code >= 0x8000) {
                    c = table.units[code - 0x8000];
                }
            }
        }
        *next++ = QChar(c == kNoCharacter ? u'?' : c);
    }
}

template <typename DigitAt>
QString decodeGroups(qsizetype groups, DigitAt digitAt) {
    QString out;
    decodeGroupsInto(groups, digitAt, out);
    return out;
}

}  // namespace

QString HexToGB(const QString& hex) {
    const QChar* digits = hex.constData();
    return decodeGroups(hex.size() / 4, [digits](qsizetype k) { return digits[k]; });
}

QString toStoredNote(const QString& gloss) {
    QString hex = GBToHex(gloss);
    std::reverse(hex.begin(), hex.end());
    return hex;
}

QString fromStoredNote(const QString& stored) {
    QString gloss;
    decodeStoredNote(stored, gloss);
    return gloss;
}

void decodeStoredNote(QStringView stored, QString& gloss) {
    if (stored.isEmpty()) {
        gloss.resize(0);
        return;
    }
    // The k-th digit of the reversed text is the k-th from the end of the stored one.
    const QChar* last = stored.data() + stored.size() - 1;
    decodeGroupsInto(
        stored.size() / 4, [last](qsizetype k) { return last[-k]; }, gloss);
}

}  // namespace words
