#include "words/codec.h"

#include "core/failure.h"
#include "core/text.h"

#include <QList>

#include <algorithm>

namespace words {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendGroup(QString& out, unsigned code) {
    for (int shift = 12; shift >= 0; shift -= 4) {
        out.append(QLatin1Char(kHexDigits[(code >> shift) & 0xF]));
    }
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') {
        return u - '0';
    }
    if (u >= 'A' && u <= 'F') {
        return u - 'A' + 10;
    }
    if (u >= 'a' && u <= 'f') {
        return u - 'a' + 10;
    }
    return -1;
}

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

QString HexToGB(const QString& hex) {
    const qsizetype groups = hex.size() / 4;
    if (groups > kMaxDecodeGroups) {
        overflow("HexToGB", groups);
    }
    QString out;
    out.reserve(groups);
    QByteArray run;  // GBK bytes of consecutive good groups, converted together
    auto flush = [&] {
        if (!run.isEmpty()) {
            out += core::fromGbk(run).value_or(QString(run.size(), QLatin1Char('?')));
            run.clear();
        }
    };
    for (qsizetype g = 0; g < groups; ++g) {
        unsigned code = 0;
        bool good = true;
        for (int d = 0; d < 4; ++d) {
            const int v = hexValue(hex[g * 4 + d]);
            good = good && v >= 0;
            code = code * 16 + static_cast<unsigned>(std::max(v, 0));
        }
        if (good && code < 0x80) {
            run.append(static_cast<char>(code));
        } else if (good && (code <= 0xFF || code >= 0x8000)) {
            // A code of 8000 or more is a double-byte character, lead byte first; below 100
            // it is a single byte, and GBK has one single byte above 7F (80, the euro sign).
            // Such a character converts on its own, so that a bad one does not spoil its
            // neighbours.
            QByteArray bytes;
            if (code >= 0x8000) {
                bytes.append(static_cast<char>(code >> 8));
            }
            bytes.append(static_cast<char>(code & 0xFF));
            const auto one = core::fromGbk(bytes);
            if (one && one->size() >= 1) {
                run.append(bytes);
            } else {
                flush();
                out.append(QLatin1Char('?'));
            }
        } else {
            flush();
            out.append(QLatin1Char('?'));
        }
    }
    flush();
    return out;
}

QString toStoredNote(const QString& gloss) {
    QString hex = GBToHex(gloss);
    std::reverse(hex.begin(), hex.end());
    return hex;
}

QString fromStoredNote(const QString& stored) {
    QString hex = stored;
    std::reverse(hex.begin(), hex.end());
    return HexToGB(hex);
}

}  // namespace words
