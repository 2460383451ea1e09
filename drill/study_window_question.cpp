// The question driver of the study window: the prelude, the hand-over to the series evaluation
// and the two question builders (the main list, the new-word list).
#include "core/numbers.h"
#include "core/text.h"
#include "drill/answer_row.h"
#include "drill/deal_tables.h"
#include "drill/gloss.h"
#include "drill/play_ranges.h"
#include "drill/study_window.h"
#include "settings/keys.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace keys = settings::keys;

void Form3::Command2_Click() {
    guarded([this] { runDriver(); });
}

void Form3::runDriver() {
    prelude();
    // The answer handler counts the question after this call, so the call that follows the
    // last right answer of a series finds it full and evaluates instead of dealing.
    if (mQuestionNo >= mRoundSize) {
        evaluateSeries();
        return;
    }
    mMissMark.clear();
    Label1->clear();
    settings::Store& store = mServices.store;
    // In a test the main list is always used. The activity is read once for the whole
    // question: the builder's test filter goes by the same reading.
    const QString activity = store.read(keys::modeWhichone);
    buildQuestion(activity == QLatin1String("learn") &&
                      store.read(keys::modeLearn) == QLatin1String("fallible"),
                  activity == QLatin1String("test"));
}

void Form3::prelude() {
    settings::Store& store = mServices.store;
    Label3->setText(QStringLiteral("练习次数：") + store.read(keys::checkLearnedtime));
    const QString pending = store.read(keys::autoFallible);
    if (!pending.isEmpty()) {
        const double value = core::leadingNumber(pending);
        if (value > 20) {
            Label2->setVisible(true);
            Label2->setText(QStringLiteral("生词数:") + core::numberText(value - 20));
        } else {
            Label2->setVisible(false);
        }
    }
    mVerbChoice = QStringLiteral("no");
    QPalette p = Text1->palette();
    p.setColor(QPalette::Text, drill::kQuestionText.colour());
    Text1->setPalette(p);
    ShowProgress();
}

// ---- The question builder ---------------------------------------------------------------------

void Form3::buildQuestion(bool fromNewWordList, bool inTest) {
    // The new-word list is re-sorted before every draw, takes no headword that is Null and
    // has no test filter; only the main list's questions are kept for the answer handler.
    words::Recordset& rs = fromNewWordList ? mNew.rs : mMain.rs;
    settings::Store& store = mServices.store;
    bool testFilter = false;
    if (!fromNewWordList) {
        // The vocabulary-size tests ask no verb form, no cross reference and no proper name.
        const QString testKind = store.read(keys::modeTest);
        testFilter =
            inTest && (testKind == QLatin1String("normal") || testKind == QLatin1String("all") ||
                       testKind == QLatin1String("high"));
    }
    const auto drawn = drawQuestionRow(
        rs, fromNewWordList,
        [&] {
            return (!fromNewWordList || !rs.field(words::kWord).isNull()) &&
                   questionRowQualifies(rs, testFilter);
        },
        [&] {
            Option1[static_cast<size_t>(mChoiceSlot[0])]->setText(words::currentGloss(rs));
            if (fromNewWordList) {
                applyHeadwordLooks(rs);
            }
        });
    if (!drawn) {
        clearQuestion();
        return;
    }

    reopenRows();
    if (!fromNewWordList) {
        mCurWord = rs.field(words::kWord).text();
        mCurUse = rs.field(words::kUse).number();
        mCurNote = rs.field(words::kNote).text();
        Text2->setText(core::numberText(mCurUse));
        applyHeadwordLooks(rs);
    }
    Text1->setText(rs.field(words::kWord).text());

    const QString gloss = words::currentGloss(rs);
    dealPermutationAndRight(gloss);
    if (drill::isVerbForm(gloss)) {
        if (fromNewWordList) {
            // The base verb is looked up in the word database, opened for this question only.
            words::openPair(mMain, mServices.paths, words::kWordFile,
                            QString::fromLatin1(words::kWordsByUse));
        }
        resolveRightVerb(mMain.rs);
        dealDistractors([this](const QString& w) { return makeVerb(w); });
        stagingRemap();
        if (fromNewWordList) {
            words::closePair(mMain);
        }
    } else {
        if (fromNewWordList) {
            dealDistractors([this](const QString& w) { return makeFromNewWordList(w); });
        } else if (drill::hasPosPrefix(gloss)) {
            dealDistractors([this](const QString& w) { return makeSamePrefix(w); });
        } else {
            dealDistractors([this](const QString& w) { return makeAny(w); });
        }
        stagingRemap();
    }
    finishQuestion();
}

std::optional<int> Form3::drawQuestionRow(words::Recordset& rs, bool resortList,
                                          const std::function<bool()>& qualifies,
                                          const std::function<void()>& afterDraw) {
    const int rows = rs.recordCount();
    const auto range = drill::rangeOnRows({mRangeFirst, mRangeLast}, rows);
    if (!range) {
        return std::nullopt;
    }
    for (int attempt = 0; attempt < drill::kMaxDraws; ++attempt) {
        const double r = drawRandom();
        if (resortList) {
            rs.sort(QString::fromLatin1(words::kByDeleteDesc));
        }
        mWordPos = drill::questionPosition(*range, rows, r);
        positionAt(rs, mWordPos);
        afterDraw();
        if (qualifies()) {
            return mWordPos;
        }
    }
    // Qualifying words are rare in this range: take the first one in order, if there is one.
    if (resortList) {
        rs.sort(QString::fromLatin1(words::kByDeleteDesc));
    }
    const auto onRows = [rows](double pos) {
        return std::clamp(static_cast<int>(std::floor(pos)), 1, rows);
    };
    const int from = onRows(std::min(range->first, range->last));
    const int to = onRows(std::max(range->first, range->last));
    for (int pos = from; pos <= to; ++pos) {
        mWordPos = pos;
        positionAt(rs, mWordPos);
        afterDraw();
        if (qualifies()) {
            return mWordPos;
        }
    }
    return std::nullopt;
}

bool Form3::questionRowQualifies(const words::Recordset& rs, bool testFilter) const {
    const QString gloss = words::currentGloss(rs);
    if (testFilter) {
        const words::Value& word = rs.field(words::kWord);
        if (drill::isVerbForm(gloss) || gloss.contains(QLatin1Char('=')) ||
            (!word.isNull() && drill::inCapitalRange(word.text()))) {
            return false;
        }
    }
    // A verb form whose base verb cannot be cut out of its gloss would give a half-built
    // question: such a word is drawn again instead.
    if (drill::isVerbForm(gloss)) {
        const auto base = drill::baseVerb(gloss);
        return base && !base->isEmpty();
    }
    return true;
}

void Form3::applyHeadwordLooks(const words::Recordset& rs) {
    QFont f = Text1->font();
    f.setPointSizeF(
        drill::headwordFontSize(static_cast<int>(rs.field(words::kWord).text().size())));
    Text1->setFont(f);
    if (const auto colour = drill::deletionColour(rs.field(words::kDelete).number())) {
        QPalette p = Text1->palette();
        p.setColor(QPalette::Text, *colour);
        Text1->setPalette(p);
    }
}

// ---- Dealing ----------------------------------------------------------------------------------

void Form3::dealPermutationAndRight(const QString& rightGloss) {
    drawPermutation();
    // Two deals in a row never put the right answer on the same row.
    if (mChoiceSlot[0] == mLastRightSlot) {
        std::swap(mChoiceSlot[0], mChoiceSlot[1]);
    }
    mLastRightSlot = mChoiceSlot[0];
    const int right = mChoiceSlot[0];
    setRowFontSize(right, drill::rightGlossFontSize(core::byteLength(rightGloss)));
    Option1[static_cast<size_t>(right)]->hide();
    Option1[static_cast<size_t>(right)]->setText(rightGloss);
}

void Form3::resolveRightVerb(words::Recordset& lookup) {
    mVerbChoice = QStringLiteral("yes");
    drill::AnswerRow* right = Option1[static_cast<size_t>(mChoiceSlot[0])];
    right->setText(drill::withoutBlanks(right->text()));
    // The word was drawn only with a base that can be cut out.
    const QString base = drill::baseVerb(right->text()).value_or(QString());
    right->setText(base);
    if (const auto baseGloss = lookUpBase(lookup, base)) {
        right->setText(drill::verbAnswerText(base, *baseGloss));
    }
}

void Form3::dealDistractors(const std::function<std::optional<QString>(const QString&)>& maker) {
    const QString right = Option1[static_cast<size_t>(mChoiceSlot[0])]->text();
    for (mButtonIndex = 1; mButtonIndex <= 5; ++mButtonIndex) {
        // Failing texts are drawn again; past the bound a distractor of a rarely used word is
        // better than none, and no distractor at all leaves the row empty.
        std::optional<QString> otherwise;
        bool placed = false;
        for (int attempt = 0; attempt < drill::kMaxDraws && !placed; ++attempt) {
            const std::optional<QString> text = maker(right);
            if (!text) {
                break;
            }
            mChoiceText = *text;
            placed = mChoiceText != right && mDrawUse >= drill::kDistractorMinUse;
            if (!placed && mChoiceText != right && !otherwise) {
                otherwise = mChoiceText;
            }
        }
        if (!placed) {
            mChoiceText = otherwise.value_or(QString());
        }
        const int row = mChoiceSlot[static_cast<size_t>(mButtonIndex)];
        setRowFontSize(row, drill::distractorFontSize(core::byteLength(mChoiceText)));
        Option1[static_cast<size_t>(row)]->setText(mChoiceText);
    }
}

void Form3::finishQuestion() {
    Option1[static_cast<size_t>(mChoiceSlot[0])]->show();
    Text1->repaint();
    speakFocused([this] { SpeakWord(Text1->text()); });
}

void Form3::clearQuestion() {
    // No word of the play range can be asked: the window shows no question and waits.
    Text1->clear();
    Text2->clear();
    for (drill::AnswerRow* row : Option1) {
        row->setText(QString());
        row->setEnabled(false);
    }
    mNoQuestion = true;
}

void Form3::reopenRows() {
    if (!mNoQuestion) {
        return;
    }
    for (drill::AnswerRow* row : Option1) {
        row->setEnabled(true);
    }
    mNoQuestion = false;
}
