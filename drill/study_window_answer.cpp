// The answer handler of the study window: judging a click on an answer row, the right and the
// wrong path with each plan's change to the word, the new-word list upkeep and the re-deal.
#include "core/numbers.h"
#include "core/text.h"
#include "drill/answer_row.h"
#include "drill/answer_rules.h"
#include "drill/deal_tables.h"
#include "drill/input_gate.h"
#include "drill/new_word_list.h"
#include "drill/study_window.h"
#include "settings/keys.h"
#include "words/codec.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <system_error>

namespace keys = settings::keys;

void Form3::Option1_MouseUp(int index) {
    (void)index;  // whatever row was released over, the selected row is judged
    if (mAnswering) {
        // Held off by the gate; a release that reaches here anyway judges nothing twice.
        return;
    }
    if (!questionOnScreen()) {
        // After a verdict the rows are empty: there is nothing to judge until the next
        // question is asked, and the click leaves no row selected for that question.
        deselectRows(7, false);
        return;
    }
    mAnswering = true;
    closeAnswerGate(true);
    guarded([this] { answerBody(); });
    mSkipFailures = false;
    closeAnswerGate(false);
    mAnswering = false;
}

bool Form3::questionOnScreen() const {
    if (!Text1->text().isEmpty()) {
        return true;
    }
    for (const drill::AnswerRow* row : Option1) {
        if (!row->text().isEmpty()) {
            return true;
        }
    }
    return false;
}

void Form3::closeAnswerGate(bool closed) {
    if (mAnswerGate == nullptr) {
        auto* gate = new drill::InputGate(this);
        for (drill::AnswerRow* row : Option1) {
            gate->watch(row);
        }
        gate->watch(Image5);
        // Leaving in the middle of an answer would pull the store from under the handler.
        gate->watch(Image4);
        mAnswerGate = gate;
    }
    static_cast<drill::InputGate*>(mAnswerGate)->setClosed(closed);
}

void Form3::answerBody() {
    // A left click has already selected the row under the pointer; any other release judges
    // whatever row is selected now, normally none.
    if (Option1.at(static_cast<size_t>(mChoiceSlot[0]))->isChecked()) {
        answerRight();
    } else {
        answerWrong();
    }
}

void Form3::deselectRows(int last, bool pump) {
    for (int i = 0; i <= last; ++i) {
        Option1[static_cast<size_t>(i)]->setChecked(false);
        if (pump) {
            pumpEvents();
        }
    }
}

void Form3::answerStep(const std::function<void()>& step) {
    if (!mSkipFailures) {
        step();
        return;
    }
    try {
        step();
    } catch (const std::exception&) {
        // After a retirement the word's change is made: what follows is skipped on a failure
        // and the handling goes on.
    }
}

// ---- Right answer -----------------------------------------------------------------------------

void Form3::answerRight() {
    settings::Store& store = mServices.store;
    store.writeNumber(keys::checkLearnedtime, store.strictNumber(keys::checkLearnedtime) + 1);
    if (mMissMark.isEmpty()) {
        ++mFirstTryRight;
    }
    setRowTextColour(mChoiceSlot[0], drill::kRightAnswerText.colour());
    // The hidden row takes the selection, so that no visible row shows as pressed.
    Option1[7]->setChecked(true);
    Option1[7]->hide();
    Option1[6]->show();
    deselectRows(6, true);

    speakFocused([this] { SpeakWord(Text1->text()); });
    deselectRows(6, true);

    if (!rightPlanStep()) {
        return;
    }
    answerStep([this] { deselectRows(7, false); });
    answerStep([this] { answerPause(); });
    answerStep([this] { setRowTextColour(mChoiceSlot[0], drill::kRowText.colour()); });
    // The driver sees the question number as it was before this answer, so the call after
    // the last right answer of a series evaluates the series instead of dealing.
    answerStep([this] { runDriver(); });
    answerStep([this] {
        ++mQuestionNo;
        settings::Store& s = mServices.store;
        if (drill::holdsSeriesAtZero(s.read(keys::modeWhichone), s.read(keys::modeLearn))) {
            mQuestionNo = 0;
        }
        ++mPaceCount;
    });
}

bool Form3::rightPlanStep() {
    settings::Store& store = mServices.store;
    switch (drill::answerPlanOf(store.read(keys::modeWhichone), store.read(keys::modeLearn))) {
        case drill::AnswerPlan::Weeding:
            return weedingRightStep();
        case drill::AnswerPlan::NewWord:
            return newWordRightStep();
        case drill::AnswerPlan::Common:
            break;
    }
    words::Recordset& rs = mMain.rs;
    positionAt(rs, mWordPos);
    rs.setField(words::kUse, rs.field(words::kUse).number() + drill::kRightUseBonus);
    return true;
}

void Form3::stepTowardsRetirement(words::Recordset& rs, bool weeding) {
    const double retireBelow = weeding ? drill::kWeedRetireBelow : drill::kListRetireBelow;
    const settings::Key& wordsLeft = weeding ? keys::autoDelete : keys::autoFallible;
    positionAt(rs, mWordPos);
    const double count = rs.field(words::kDelete).number() - 1;
    rs.setField(words::kDelete, count);
    if (count < retireBelow) {
        settings::Store& store = mServices.store;
        mRangeLast = mRangeLast - 1;
        store.writeNumber(wordsLeft, store.number(wordsLeft) - 1);
        // The word's change is made and counted: from here on a failing step is skipped.
        mSkipFailures = true;
        answerStep([&] { rs.sort(QString::fromLatin1(words::kByDeleteDesc)); });
    }
}

bool Form3::weedingRightStep() {
    settings::Store& store = mServices.store;
    words::Recordset& rs = mMain.rs;
    stepTowardsRetirement(rs, true);
    bool complete = false;
    answerStep([&] { complete = store.number(keys::autoDelete) < drill::kWeedCompleteBelow; });
    if (complete) {
        completeWeeding();
        return false;
    }
    // After a retirement the re-sort has moved the rows: the reward goes to the word that
    // now stands at the question's position.
    answerStep([&] {
        positionAt(rs, mWordPos);
        rs.setField(words::kUse, rs.field(words::kUse).number() + drill::kRightUseBonus);
    });
    return true;
}

void Form3::completeWeeding() {
    settings::Store& store = mServices.store;
    answerStep(
        [&] { mServices.messages.inform(QString::fromUtf8(drill::kWeedingCompleteMessage)); });
    answerStep([&] { words::closePair(mMain); });
    answerStep([&] {
        const auto copy = mServices.paths.file(words::kWeedingFile);
        std::error_code ec;
        std::filesystem::remove(copy, ec);
        if (ec) {
            throw core::Error(QStringLiteral("无法删除文件 %1: %2")
                                  .arg(core::pathText(copy), QString::fromStdString(ec.message())));
        }
    });
    answerStep([&] { store.remove(keys::autoDelete); });
    answerStep([&] { store.remove(keys::modeDelete); });
    // The next entry into the weeding plan copies the word database afresh.
    mServices.navigator.quit();
}

bool Form3::newWordRightStep() {
    settings::Store& store = mServices.store;
    stepTowardsRetirement(mNew.rs, false);
    bool runLow = false;
    answerStep([&] {
        const QString pending = store.read(keys::autoFallible);
        runLow = !pending.isEmpty() && core::leadingNumber(pending) < drill::kNewWordListThreshold;
    });
    if (runLow) {
        newWordListRunLow();
        return false;
    }
    return true;
}

void Form3::newWordListRunLow() {
    settings::Store& store = mServices.store;
    answerStep([&] { store.write(keys::modeLearn, QString::fromLatin1(drill::kFallbackPlan)); });
    answerStep(
        [&] { mServices.messages.inform(QString::fromUtf8(drill::kNewWordsLearnedMessage)); });
    answerStep([&] { words::closePair(mNew); });
    // Unload this window and take it off the screen, then show a new start window, which
    // loads anew.
    answerStep([&] { mServices.navigator.unloadAndShow(*this, core::WindowKind::Start); });
}

void Form3::answerPause() {
    core::Clock& clock = mServices.clock;
    const std::int64_t start = clock.nowMs();
    // The window stays responsive and the rows stay enabled; the gate keeps their clicks off.
    while (!drill::pauseOver(start, clock.nowMs())) {
        pumpEvents();
        clock.idle();
    }
}

// ---- Wrong answer -----------------------------------------------------------------------------

void Form3::answerWrong() {
    settings::Store& store = mServices.store;
    const drill::AnswerPlan plan =
        drill::answerPlanOf(store.read(keys::modeWhichone), store.read(keys::modeLearn));
    if (plan == drill::AnswerPlan::NewWord) {
        words::Recordset& rs = mNew.rs;
        positionAt(rs, mWordPos);
        rs.setField(words::kDelete, rs.field(words::kDelete).number() + drill::kMissDifficultyStep);
    } else {
        // A failed addition to the list is undone inside the upkeep and the miss is handled
        // on; any other failure from here on ends the handling once, without repeating a step.
        const drill::ListEntry listed =
            drill::enterMissedWord(mNew, mServices.paths, store, {mCurWord, mCurNote, mCurUse});
        mListMark =
            listed == drill::ListEntry::Found ? QStringLiteral("exist") : QStringLiteral("unexist");
        words::Recordset& rs = mMain.rs;
        positionAt(rs, mWordPos);
        rs.setField(words::kUse, drill::missedUse(rs.field(words::kUse).number()));
        if (plan == drill::AnswerPlan::Weeding) {
            rs.setField(words::kDelete,
                        rs.field(words::kDelete).number() + drill::kMissDifficultyStep);
        }
    }
    if (mMissMark.isEmpty()) {
        ++mTries;
        mMissMark = QStringLiteral("ok");
    }
    redeal(plan == drill::AnswerPlan::NewWord);

    deselectRows(7, true);
    for (drill::AnswerRow* row : Option1) {
        row->setEnabled(false);
    }
    speakFocused([this] {
        pumpEvents();
        SpeakText(QString::fromLatin1(drill::kMissSound));
        pumpEvents();
    });
    for (drill::AnswerRow* row : Option1) {
        row->setEnabled(true);
    }
    deselectRows(7, false);
}

void Form3::redeal(bool newWordPlan) {
    // Outside the new-word plan the right row shows the word's own gloss, also for a verb
    // form whose first deal showed its base verb.
    mChoiceText = newWordPlan ? Option1[static_cast<size_t>(mChoiceSlot[0])]->text()
                              : words::fromStoredNote(mCurNote);
    drawPermutation();
    // The right row keeps the point size it had.
    Option1[static_cast<size_t>(mChoiceSlot[0])]->setText(mChoiceText);
    for (int i = 1; i <= 5; ++i) {
        const QString right = Option1[static_cast<size_t>(mChoiceSlot[0])]->text();
        const auto make = [&] { return newWordPlan ? chooseselect2(right) : chooseselect(right); };
        mChoiceText = make();
        if (mChoiceText == right) {
            mChoiceText = make();
        }
        const int row = mChoiceSlot[static_cast<size_t>(i)];
        setRowFontSize(row, drill::distractorFontSize(core::byteLength(mChoiceText)));
        Option1[static_cast<size_t>(row)]->setText(mChoiceText);
    }
    stagingRemap();
}
