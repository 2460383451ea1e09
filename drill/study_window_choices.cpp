// The four choice makers of the study window: each draws one distractor from a word list.
#include "core/numbers.h"
#include "drill/deal_tables.h"
#include "drill/gloss.h"
#include "drill/play_ranges.h"
#include "drill/study_window.h"

#include <algorithm>

namespace {

bool hasUsableBase(const QString& gloss) {
    const auto base = drill::baseVerb(gloss);
    return base && !base->isEmpty();
}

}  // namespace

QString Form3::chooseselect(const QString& chooseword) {
    return makeSamePrefix(chooseword).value_or(QString());
}

QString Form3::chooseselectverb(const QString& chooseword) {
    return makeVerb(chooseword).value_or(QString());
}

QString Form3::chooseselect2(const QString& chooseword) {
    return makeFromNewWordList(chooseword).value_or(QString());
}

QString Form3::chooseselectart(const QString& chooseword) {
    return makeAny(chooseword).value_or(QString());
}

std::optional<Form3::Drawn> Form3::drawDistractorRow(
    words::Recordset& rs, double bound, const std::function<bool(const Drawn&)>& accept) {
    const int rows = rs.recordCount();
    if (rows < 1) {
        return std::nullopt;
    }
    // A bound beyond the list's rows (a stored word count larger than the table) draws from
    // the rows there are.
    const double n = std::min(bound, static_cast<double>(rows));
    const auto readRow = [&]() {
        const words::Value& word = rs.field(words::kWord);
        return Drawn{words::currentGloss(rs), word.isNull() ? QString() : word.text()};
    };
    const auto take = [&](const Drawn& d) {
        mDrawUse = static_cast<std::int32_t>(core::roundHalfEven(rs.field(words::kUse).number()));
        return d;
    };
    for (int attempt = 0; attempt < drill::kMaxDraws; ++attempt) {
        const double r = drawRandom();
        mDrawPos = drill::distractorPosition(n, rows, r);
        positionAt(rs, mDrawPos);
        const Drawn d = readRow();
        if (accept(d)) {
            return take(d);
        }
    }
    // Qualifying rows are rare: take the first one among the rows the draw reaches.
    const int last = std::clamp(static_cast<int>(std::ceil(n)), 1, rows);
    for (mDrawPos = 1; mDrawPos <= last; ++mDrawPos) {
        positionAt(rs, mDrawPos);
        const Drawn d = readRow();
        if (accept(d)) {
            return take(d);
        }
    }
    return std::nullopt;
}

std::optional<QString> Form3::lookUpBase(words::Recordset& rs, const QString& base) const {
    // The whole list counts, not only the words in play, and the first equal headword in its
    // order decides. The list's headword index finds that row; the list is then left past its
    // last row, where a walk through it would have ended.
    rs.moveFirst();
    std::optional<QString> gloss;
    if (const int pos = rs.findFirst(words::kWord, base); pos > 0) {
        positionAt(rs, pos);
        gloss = words::currentGloss(rs);
    }
    rs.moveLast();
    rs.moveNext();
    return gloss;
}

QString Form3::resolveBase(words::Recordset& rs, const QString& base) {
    if (const auto baseGloss = lookUpBase(rs, base)) {
        mBaseWord = base;
        return *baseGloss;
    }
    return base;
}

std::optional<QString> Form3::makeSamePrefix(const QString& chooseword) {
    mBaseWord.clear();
    words::Recordset& rs = mMain.rs;
    const auto drawn = drawDistractorRow(rs, mWordCount, [&](const Drawn& d) {
        return drill::samePrefix(d.gloss, chooseword) && d.gloss != chooseword &&
               !drill::isCapitalised(d.headword);
    });
    if (!drawn) {
        return std::nullopt;
    }
    QString text = drawn->gloss;
    if (text.size() >= 5 && drill::isVerbForm(text)) {
        // Without a base to cut out, the blank-free gloss itself is looked up.
        text = drill::withoutBlanks(text);
        if (const auto base = drill::baseVerb(text)) {
            text = *base;
        }
        text = resolveBase(rs, text);
    }
    if (mVerbChoice == QLatin1String("yes")) {
        return drill::verbAnswerText(mBaseWord, text);
    }
    return text;
}

std::optional<QString> Form3::makeVerb(const QString&) {
    mBaseWord.clear();
    words::Recordset& rs = mMain.rs;
    // A verb form without a base verb would give no answer text: it is drawn again.
    const auto drawn = drawDistractorRow(rs, mWordCount, [](const Drawn& d) {
        return d.gloss.left(2) == QLatin1String("v.") && !drill::isCapitalised(d.headword) &&
               (!drill::isVerbForm(d.gloss) || hasUsableBase(d.gloss));
    });
    if (!drawn) {
        return std::nullopt;
    }
    QString text = drawn->gloss;
    if (drill::isVerbForm(text)) {
        text = resolveBase(rs, drill::baseVerb(text).value_or(QString()));
    } else {
        mBaseWord = drawn->headword;
    }
    return drill::verbAnswerText(mBaseWord, text);
}

std::optional<QString> Form3::makeFromNewWordList(const QString&) {
    mBaseWord.clear();
    const auto drawn = drawDistractorRow(mNew.rs, mFallibleCount, [](const Drawn& d) {
        return !drill::isCapitalised(d.headword) &&
               (!drill::isVerbForm(d.gloss) || hasUsableBase(d.gloss));
    });
    if (!drawn) {
        return std::nullopt;
    }
    if (!drill::isVerbForm(drawn->gloss)) {
        return drawn->gloss;
    }
    // The base verb is looked up in the word database, opened for this look-up only.
    words::openPair(mMain, mServices.paths, words::kWordFile,
                    QString::fromLatin1(words::kWordsByUse));
    const QString text = resolveBase(mMain.rs, drill::baseVerb(drawn->gloss).value_or(QString()));
    words::closePair(mMain);
    return drill::verbAnswerText(mBaseWord, text);
}

std::optional<QString> Form3::makeAny(const QString&) {
    mBaseWord.clear();
    const auto drawn = drawDistractorRow(
        mMain.rs, mWordCount, [](const Drawn& d) { return !drill::isCapitalised(d.headword); });
    if (!drawn) {
        return std::nullopt;
    }
    return drawn->gloss;
}
