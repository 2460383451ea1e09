#include "lookup/lookup_rules.h"

#include "core/text.h"
#include "words/codec.h"

#include <array>

namespace lookup {

namespace {

const QString& lineBreak() {
    static const QString crlf = QString::fromLatin1(kCrLf);
    return crlf;
}

// Near-match bands: entries of up to `maxLength` characters compare their first
// (length - `cut`) characters; a cut of -1 compares the whole text without outer blanks.
struct Band {
    qsizetype maxLength;
    qsizetype cut;
};
constexpr std::array<Band, 4> kBands{{
    {4, -1}, {7, 1}, {10, 2}, {-1, 3},  // 11 or more
}};

const Band& bandOf(qsizetype length) {
    for (const Band& band : kBands) {
        if (band.maxLength < 0 || length <= band.maxLength) {
            return band;
        }
    }
    return kBands.back();
}

constexpr int kSkippedLinesNamed = 20;

}  // namespace

QString trimBlanks(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == QLatin1Char(' ')) {
        ++from;
    }
    while (to > from && text[to - 1] == QLatin1Char(' ')) {
        --to;
    }
    return text.mid(from, to - from).toString();
}

bool takesChinesePath(const QString& entry) {
    if (entry.isEmpty()) {
        return false;
    }
    // The first character, a surrogate pair counted whole.
    const qsizetype width = entry[0].isHighSurrogate() && entry.size() > 1 ? 2 : 1;
    const auto gbk = core::toGbk(entry.left(width));
    if (!gbk || gbk->isEmpty()) {
        return false;  // no GBK code: written as "?", a single byte
    }
    if (gbk->size() == 1) {
        // A single byte is positive, except the null character, whose code is 0.
        return gbk->at(0) == '\0';
    }
    // A double-byte character: its lead byte is 0x81 or above, so the top bit of the 16-bit
    // code is set.
    return true;
}

bool isExactHit(const QString& entry, const QString& headword) {
    return trimBlanks(headword) == trimBlanks(entry);
}

QString nearMatchKey(const QString& text, qsizetype entryLength) {
    const Band& band = bandOf(entryLength);
    if (band.cut < 0) {
        return trimBlanks(text).toLower();
    }
    return text.left(entryLength - band.cut).toLower();
}

bool isNearMatch(const QString& entry, const QString& headword) {
    const qsizetype length = entry.size();
    return nearMatchKey(entry, length) == nearMatchKey(headword, length);
}

QString entryText(const QString& headword, const QString& gloss) {
    return headword + lineBreak() + gloss;
}

void ResultList::add(const QString& headword, const QString& gloss) {
    if (count_ > 0) {
        text_ += lineBreak() + lineBreak();
    }
    text_ += entryText(headword, gloss);
    ++count_;
}

QString ResultList::suggestions() const {
    return QString::fromUtf8(kDidYouMean) + lineBreak() + text_;
}

QString ResultList::matches(bool cutOff) const {
    if (!cutOff) {
        return text_;
    }
    return text_ + lineBreak() + QString::fromUtf8(kTooMany);
}

QString notFoundText(const QString& siteAddress) {
    return QString::fromUtf8(kNotFound) + lineBreak() + QString::fromUtf8(kNotFoundGoTo) +
           siteAddress + QString::fromUtf8(kNotFoundTellAuthor);
}

std::vector<QByteArray> splitImportLines(const QByteArray& content) {
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype size = content.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        lines.push_back(content.mid(start, i - start));
        if (c == '\r' && i + 1 < size && content[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < size) {
        lines.push_back(content.mid(start));
    }
    return lines;
}

std::optional<words::WordLine> parseImportLine(QStringView line) {
    const qsizetype pair = line.indexOf(QLatin1String("  "));
    if (pair < 0) {
        return std::nullopt;
    }
    words::WordLine result{trimBlanks(line.left(pair)), trimBlanks(line.mid(pair))};
    if (result.word.isEmpty()) {
        return std::nullopt;
    }
    return result;
}

std::optional<words::WordLine> readImportLine(const QByteArray& gbkLine) {
    const auto text = core::fromGbk(gbkLine);
    if (!text) {
        return std::nullopt;
    }
    auto parsed = parseImportLine(*text);
    // A longer gloss could be stored but never decoded again: every look-up would fail on it.
    if (parsed && parsed->gloss.size() > words::kMaxDecodeGroups) {
        return std::nullopt;
    }
    return parsed;
}

QString skippedLinesMessage(const std::vector<int>& lineNumbers) {
    QStringList named;
    for (size_t i = 0; i < lineNumbers.size() && i < kSkippedLinesNamed; ++i) {
        named << QString::number(lineNumbers[i]);
    }
    QString which = QStringLiteral("第 %1 行").arg(named.join(QStringLiteral("、")));
    if (lineNumbers.size() > kSkippedLinesNamed) {
        which += QStringLiteral("等，共 %1 行").arg(lineNumbers.size());
    }
    return QStringLiteral(
               "以下各行没有录入：%1。\n"
               "每行应为英文词汇、至少两个连续空格、中文释义，并以 GBK 编码保存。")
        .arg(which);
}

std::optional<QString> cleanedGloss(const QString& gloss) {
    static const QString spaced = QStringLiteral(". . . ");
    if (!gloss.contains(spaced)) {
        return std::nullopt;
    }
    QString cleaned = gloss;
    cleaned.replace(spaced, QStringLiteral("..."));
    return cleaned;
}

bool glossLacksMeaning(const QString& gloss) {
    const qsizetype dot = gloss.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        return true;
    }
    return trimBlanks(QStringView(gloss).mid(dot + 1)).isEmpty();
}

}  // namespace lookup
