// The answer handler: clicks on the answer rows of a real study window, judged and stored.
#include "drill/answer_rules.h"
#include "tests/drill/answer_fixture.h"
#include "tests/drill/failing_store.h"

#include <QTimer>

#include <filesystem>
#include <optional>

namespace {

using namespace answer_testing;
using testing_support::entry;
namespace keys = settings::keys;

/// A clock that steps 100 ms per reading and lets a test act at each reading.
class HookClock final : public core::Clock {
  public:
    std::int64_t now = 5000;
    bool wrap32 = false;  // a 32-bit counter that passes 2^32 back to 0
    int readings = 0;
    std::function<void(int reading, std::int64_t now)> onReading;
    std::int64_t nowMs() override {
        now += 100;
        if (wrap32) {
            now &= 0xFFFFFFFF;
        }
        ++readings;
        if (onReading) {
            onReading(readings, now);
        }
        return now;
    }
};

/// A graded plan over "apple" (qmuse 100) and 599 numbered words, five other words pending
/// on the new-word list; the first question asks "apple".
class CommonPlanAnswers : public AnswerTest {
  protected:
    void SetUp() override {
        AnswerTest::SetUp();
        std::vector<words::WordEntry> rows{entry("apple", "n.苹果", 100)};
        for (int i = 2; i <= 600; ++i) {
            rows.push_back(
                entry(QStringLiteral("w%1").arg(i), QStringLiteral("n.词%1").arg(i), 50));
        }
        words(rows);
        std::vector<words::WordEntry> pending;
        for (int i = 1; i <= 5; ++i) {
            pending.push_back(entry(QStringLiteral("old%1").arg(i), "n.旧", 60, 15));
        }
        fake.folders.writeWordFile(words::kNewWordFile, pending, words::kNewWordTable);
        store().write(keys::checkFallible, "5");
        store().write(keys::autoFallible, "5");
        learn("600");
        speechOn();
        random().script.push_back(0.0);  // the first question word: position 1
        shuffledDraws();
    }
    double appleUse() const { return fileRow(words::kWordFile, words::kWordTable, "apple")->qmuse; }
    std::optional<words::WordEntry> appleOnList() const {
        return fileRow(words::kNewWordFile, words::kNewWordTable, "apple");
    }
};

TEST_F(CommonPlanAnswers, MissedTwiceThenRightEntersTheListOnceAndStoresEveryStep) {
    Form3& w = open();
    ASSERT_EQ(w.Text1->text(), "apple");

    answerWrong();
    expectNoFailure();
    // Each change is in the files when the handler returns, read from outside the window.
    ASSERT_TRUE(appleOnList());
    EXPECT_EQ(appleOnList()->qmdelete, 15);
    EXPECT_EQ(appleOnList()->qmuse, 100);  // the value before this miss lowered it
    EXPECT_EQ(appleOnList()->qmnote, words::toStoredNote("n.苹果"));
    EXPECT_EQ(newWordList().size(), 6u);
    EXPECT_EQ(stored(keys::checkFallible), "6");
    EXPECT_EQ(stored(keys::autoFallible), "6");
    EXPECT_EQ(appleUse(), 40);
    EXPECT_EQ(w.mTries, 2);
    EXPECT_EQ(w.mListMark, "unexist");
    EXPECT_FALSE(w.mNew.isOpen());
    // The same word is asked again with a new deal; the rows take answers again.
    EXPECT_EQ(w.Text1->text(), "apple");
    EXPECT_EQ(row(rightRow()), "n.苹果");
    EXPECT_FALSE(anyRowChecked());
    EXPECT_TRUE(w.Option1[0]->isEnabled());
    EXPECT_EQ(speechCount("oh"), 1);

    answerWrong();
    expectNoFailure();
    EXPECT_EQ(appleOnList()->qmdelete, 17);
    EXPECT_EQ(newWordList().size(), 6u);
    EXPECT_EQ(stored(keys::checkFallible), "6");
    EXPECT_EQ(stored(keys::autoFallible), "6");
    EXPECT_EQ(appleUse(), 16);
    EXPECT_EQ(w.mTries, 2);
    EXPECT_EQ(w.mListMark, "exist");

    answerRight();
    expectNoFailure();
    EXPECT_EQ(appleUse(), 21);
    EXPECT_EQ(appleOnList()->qmdelete, 17);
    EXPECT_EQ(stored(keys::checkLearnedtime), "1");
    EXPECT_EQ(w.mFirstTryRight, 0);
    EXPECT_EQ(w.mQuestionNo, 2);
    EXPECT_NE(w.Text1->text(), "apple");
}

TEST_F(CommonPlanAnswers, RightAtOnceCountsPracticeAndScoreAndDealsTheNextQuestion) {
    Form3& w = open();
    const int right = rightRow();
    const int wordsSpoken = static_cast<int>(fake.speech.spoken.size());
    answerRight();
    expectNoFailure();
    EXPECT_EQ(stored(keys::checkLearnedtime), "1");
    EXPECT_EQ(w.mFirstTryRight, 1);
    EXPECT_EQ(appleUse(), 105);
    EXPECT_EQ(newWordList().size(), 5u);
    EXPECT_EQ(w.mQuestionNo, 2);
    EXPECT_EQ(w.mPaceCount, 2);
    // The answered word, then the next question's word.
    ASSERT_EQ(static_cast<int>(fake.speech.spoken.size()), wordsSpoken + 2);
    EXPECT_EQ(fake.speech.spoken[static_cast<size_t>(wordsSpoken)].text, "apple");
    EXPECT_NE(w.Text1->text(), "apple");
    EXPECT_EQ(w.rowTextColour(right), QColor(192, 255, 255));
    EXPECT_TRUE(w.Option1[7]->isHidden());
    EXPECT_FALSE(anyRowChecked());
    EXPECT_EQ(w.Label3->text(), "练习次数：1");
}

TEST_F(CommonPlanAnswers, ReleaseOfTheRightMouseButtonWithNoRowSelectedIsWrong) {
    Form3& w = open();
    drill::AnswerRow* r = w.Option1[static_cast<size_t>(rightRow())];
    QTest::mouseClick(r, Qt::RightButton, {}, QPoint(8, r->height() / 2));
    expectNoFailure();
    EXPECT_EQ(w.mTries, 2);
    EXPECT_EQ(appleUse(), 40);
    EXPECT_EQ(stored(keys::checkLearnedtime), "0");
}

TEST_F(CommonPlanAnswers, RedealShowsARightAnswerInPositionFiveOnRowSix) {
    Form3& w = open();
    const int lastRight = w.mLastRightSlot;
    random().script.clear();
    study_testing::push(random(), study_testing::permutation({5, 0, 1, 2, 3, 4}));
    study_testing::push(
        random(), {study_testing::at(2, 600), study_testing::at(3, 600), study_testing::at(4, 600),
                   study_testing::at(5, 600), study_testing::at(6, 600)});
    shuffledDraws();
    answerWrong();
    expectNoFailure();
    EXPECT_EQ(w.mChoiceSlot[0], 6);
    EXPECT_EQ(row(6), "n.苹果");
    EXPECT_EQ(row(5), "n.苹果");
    EXPECT_TRUE(w.Option1[5]->isHidden());
    EXPECT_EQ(row(0), "n.词2");
    EXPECT_EQ(row(4), "n.词6");
    EXPECT_EQ(w.mLastRightSlot, lastRight);  // the re-deal leaves it alone
    answerRight();
    EXPECT_EQ(w.mFirstTryRight, 0);
    EXPECT_EQ(stored(keys::checkLearnedtime), "1");
}

// ---- Clicks while an answer is being handled ---------------------------------------------

TEST_F(CommonPlanAnswers, ClicksDuringTheSpokenWordJudgeNothingTwice) {
    Form3& w = open();
    const int right = rightRow();
    const int wrong = wrongRow();
    const size_t before = fake.speech.spoken.size();
    // Runs at the first point where the handler lets pending events run.
    QTimer::singleShot(0, [&] {
        click(right);
        click(wrong);
        clickStartPicture();
        QTest::mouseClick(w.Image4, Qt::LeftButton);
    });
    answerRight();
    expectNoFailure();
    EXPECT_EQ(stored(keys::checkLearnedtime), "1");
    EXPECT_EQ(w.mFirstTryRight, 1);
    EXPECT_EQ(w.mQuestionNo, 2);
    EXPECT_EQ(w.mTries, 1);
    EXPECT_EQ(appleUse(), 105);
    EXPECT_EQ(fake.speech.spoken.size(), before + 2);  // the word, then one next question
    EXPECT_TRUE(fake.navigator.shown.empty());         // the exit picture waited too
    EXPECT_FALSE(anyRowChecked());
    EXPECT_FALSE(w.answerInProgress());

    // Once the handler is done the rows answer again.
    answerRight();
    EXPECT_EQ(stored(keys::checkLearnedtime), "2");
}

TEST_F(CommonPlanAnswers, ClicksDuringThePauseJudgeNothingAndDealNothingEarly) {
    HookClock clock;
    clock.onReading = [&](int reading, std::int64_t) {
        if (reading == 3) {
            QTimer::singleShot(0, [&] {
                click(rightRow());
                clickStartPicture();
            });
        }
    };
    Form3& w = openWith(servicesWith(nullptr, &clock));
    const size_t before = fake.speech.spoken.size();
    answerRight();
    expectNoFailure();
    EXPECT_GT(clock.readings, 3);
    EXPECT_EQ(stored(keys::checkLearnedtime), "1");
    EXPECT_EQ(w.mFirstTryRight, 1);
    EXPECT_EQ(w.mQuestionNo, 2);
    EXPECT_EQ(fake.speech.spoken.size(), before + 2);
    EXPECT_FALSE(anyRowChecked());
}

TEST_F(CommonPlanAnswers, ClicksWhileAMissIsHandledReachNoRow) {
    Form3& w = open();
    QTimer::singleShot(0, [&] { click(rightRow()); });
    answerWrong();
    expectNoFailure();
    EXPECT_EQ(stored(keys::checkLearnedtime), "0");
    EXPECT_EQ(w.mTries, 2);
    EXPECT_EQ(newWordList().size(), 6u);
    EXPECT_EQ(appleUse(), 40);
}

// A press that the gate held off while an answer was handled, released once the next question
// (or the re-deal) is on screen. Both go through the window as the platform sends them, so the
// release reaches the row that got the press, wherever the pointer is by then.
TEST_F(CommonPlanAnswers, AReleaseWhosePressWasHeldOffJudgesNothing) {
    HookClock clock;
    bool pressDuringPause = false;
    std::optional<QPoint> pressedAt;
    Form3& w = openWith(servicesWith(nullptr, &clock));
    w.show();
    const auto at = [&w](int row) {
        const drill::AnswerRow* r = w.Option1[static_cast<size_t>(row)];
        return r->mapTo(&w, QPoint(8, r->height() / 2));
    };
    const auto pressLater = [&](int row) {
        QTimer::singleShot(0, [&, row] {
            pressedAt = at(row);
            QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, *pressedAt);
        });
    };
    clock.onReading = [&](int, std::int64_t) {
        if (pressDuringPause) {
            pressDuringPause = false;
            pressLater(wrongRow());
        }
    };
    const auto releaseElsewhere = [&] {
        ASSERT_TRUE(pressedAt);
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, at(rightRow()));
        pressedAt.reset();
    };

    pressDuringPause = true;  // after a right answer, during the pause
    answerRight();
    const QString next = w.Text1->text();
    releaseElsewhere();
    EXPECT_EQ(stored(keys::checkLearnedtime), "1");
    EXPECT_EQ(w.mTries, 1);
    EXPECT_EQ(newWordList().size(), 5u);
    EXPECT_EQ(w.Text1->text(), next);
    EXPECT_FALSE(anyRowChecked());

    pressLater(rightRow());  // while a miss is handled
    answerWrong();
    ASSERT_EQ(w.mTries, 2);
    const size_t listed = newWordList().size();
    releaseElsewhere();
    EXPECT_EQ(w.mTries, 2);
    EXPECT_EQ(newWordList().size(), listed);
    EXPECT_FALSE(anyRowChecked());

    // A press and release of its own on the question are judged as ever.
    const QPoint right = at(rightRow());
    QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, right);
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, right);
    EXPECT_EQ(stored(keys::checkLearnedtime), "2");
    expectNoFailure();
}

// ---- The pause after a right answer ------------------------------------------------------

class AnswerPauseClock : public CommonPlanAnswers, public ::testing::WithParamInterface<bool> {};

TEST_P(AnswerPauseClock, DriverRunsOnceOneSecondHasPassed) {
    HookClock clock;
    clock.wrap32 = GetParam();
    clock.now = GetParam() ? 0xFFFFFFFF - 250 : 5000;
    std::vector<std::pair<std::int64_t, size_t>> seen;  // clock value, words spoken by then
    clock.onReading = [&](int, std::int64_t now) {
        seen.emplace_back(now, fake.speech.spoken.size());
    };
    Form3& w = openWith(servicesWith(nullptr, &clock));
    const QString asked = w.Text1->text();
    answerRight();
    expectNoFailure();

    // Start, then one reading per 100 ms up to the one that shows 1000 ms gone.
    ASSERT_EQ(seen.size(), 11u);
    const std::int64_t start = seen.front().first;
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(drill::pauseOver(start, seen[i].first), i == 10) << i;
        // Only the answered word has been spoken while the pause lasts.
        EXPECT_EQ(seen[i].second, seen.front().second) << i;
    }
    if (GetParam()) {
        EXPECT_LT(seen.back().first, start);  // the counter passed its wrap-around
    }
    EXPECT_EQ(fake.speech.spoken.size(), seen.back().second + 1);
    EXPECT_NE(w.Text1->text(), asked);
}

INSTANTIATE_TEST_SUITE_P(PlainAndWrapping, AnswerPauseClock, ::testing::Bool(),
                         [](const auto& info) {
                             return std::string(info.param ? "Wrapping" : "Plain");
                         });

// ---- Failures on the wrong path ----------------------------------------------------------

TEST_F(CommonPlanAnswers, FailedListAdditionLeavesListAndCountersAgreeingAndTheMissGoesOn) {
    FailingStore failing(store());
    Form3& w = openWith(servicesWith(&failing));
    failing.failWriteOf = &keys::autoFallible;
    answerWrong();
    expectNoFailure();
    EXPECT_EQ(failing.failures, 1);
    EXPECT_EQ(newWordList().size(), 5u);
    EXPECT_EQ(stored(keys::checkFallible), "5");
    EXPECT_EQ(stored(keys::autoFallible), "5");
    // The rest of the miss is handled: the word's use lowered, the question dealt again.
    EXPECT_EQ(appleUse(), 40);
    EXPECT_EQ(w.mTries, 2);
    EXPECT_EQ(speechCount("oh"), 1);

    answerWrong();
    expectNoFailure();
    EXPECT_EQ(newWordList().size(), 6u);
    EXPECT_EQ(appleOnList()->qmdelete, 15);
    EXPECT_EQ(stored(keys::checkFallible), "6");
    EXPECT_EQ(stored(keys::autoFallible), "6");
    EXPECT_EQ(appleUse(), 16);
}

TEST_F(CommonPlanAnswers, FailureAfterTheListStepEndsTheHandlingOnceWithoutRepeatingSteps) {
    FailingStore failing(store());
    Form3& w = openWith(servicesWith(&failing));
    // The speech switch is read again for the "oh" after the re-deal.
    failing.failReadOf = &keys::voiceSwitch;
    answerWrong();
    EXPECT_EQ(fake.failure.messages.size(), 1);
    EXPECT_EQ(newWordList().size(), 6u);
    EXPECT_EQ(appleOnList()->qmdelete, 15);
    EXPECT_EQ(stored(keys::checkFallible), "6");
    EXPECT_EQ(stored(keys::autoFallible), "6");
    EXPECT_EQ(appleUse(), 40);
    EXPECT_EQ(w.mTries, 2);
    EXPECT_FALSE(w.answerInProgress());
}

TEST_F(CommonPlanAnswers, PracticeCountThatIsNoNumberEndsTheHandling) {
    Form3& w = open();
    store().write(keys::checkLearnedtime, "many");
    answerRight();
    ASSERT_EQ(fake.failure.messages.size(), 1);
    EXPECT_TRUE(fake.failure.messages[0].contains("learnedtime"));
    EXPECT_EQ(w.mFirstTryRight, 0);
    EXPECT_EQ(appleUse(), 100);
}

// ---- The weeding plan --------------------------------------------------------------------

class WeedingAnswers : public AnswerTest {
  protected:
    Form3& openCopy(double weeding, const char* left) {
        std::vector<words::WordEntry> rows;
        for (int i = 1; i <= 10; ++i) {
            rows.push_back(entry(QStringLiteral("w%1").arg(i), QStringLiteral("n.词%1").arg(i),
                                 100 - i, weeding));
        }
        fake.folders.writeWordFile(words::kWordFile, rows);
        fake.folders.writeWordFile(words::kWeedingFile, rows);
        store().write(keys::modeDelete, "delete");
        store().write(keys::autoDelete, left);
        learn("delete");
        speechOn();
        shuffledDraws();
        return open();
    }
    std::optional<words::WordEntry> copyRow(const QString& word) const {
        return fileRow(words::kWeedingFile, words::kWordTable, word);
    }
};

TEST_F(WeedingAnswers, WordAtTenRetiresWithRangeAndCounterOneLower) {
    Form3& w = openCopy(10, "8");
    const QString answered = w.Text1->text();
    const double use = copyRow(answered)->qmuse;
    const int pos = w.mWordPos;
    answerRight();
    expectNoFailure();
    EXPECT_EQ(copyRow(answered)->qmdelete, 9);
    EXPECT_EQ(stored(keys::autoDelete), "7");
    EXPECT_EQ(w.mRangeLast, 7);
    EXPECT_EQ(w.mQuestionNo, 0);
    // The re-sort has moved the retired word to the end: the reward goes to the word that
    // now stands at its position.
    EXPECT_EQ(copyRow(answered)->qmuse, use);
    w.mMain.rs.moveFirst();
    w.mMain.rs.move(pos - 1);
    const QString rewarded = w.mMain.rs.field(words::kWord).text();
    EXPECT_NE(rewarded, answered);
    EXPECT_EQ(copyRow(rewarded)->qmuse,
              fileRow(words::kWordFile, words::kWordTable, rewarded)->qmuse + 5);
    // The word database itself is not touched by the weeding plan.
    EXPECT_EQ(fileRow(words::kWordFile, words::kWordTable, answered)->qmdelete, 10);
    EXPECT_TRUE(fake.navigator.shown.empty());
}

TEST_F(WeedingAnswers, WordAtElevenGoesToTenAndStays) {
    Form3& w = openCopy(11, "8");
    const QString answered = w.Text1->text();
    const double use = copyRow(answered)->qmuse;
    answerRight();
    expectNoFailure();
    EXPECT_EQ(copyRow(answered)->qmdelete, 10);
    EXPECT_EQ(copyRow(answered)->qmuse, use + 5);
    EXPECT_EQ(stored(keys::autoDelete), "8");
    EXPECT_EQ(w.mRangeLast, 8);
}

TEST_F(WeedingAnswers, MissLowersUseAndRaisesWeedingOrderInTheCopy) {
    Form3& w = openCopy(11, "8");
    const QString answered = w.Text1->text();
    const double use = copyRow(answered)->qmuse;
    answerWrong();
    expectNoFailure();
    EXPECT_EQ(copyRow(answered)->qmdelete, 13);
    EXPECT_EQ(copyRow(answered)->qmuse, std::floor(use * 0.4));
    EXPECT_TRUE(fileRow(words::kNewWordFile, words::kNewWordTable, answered));
    EXPECT_EQ(w.mTries, 2);
}

TEST_F(WeedingAnswers, LastRetirementCompletesThePlanAndEndsTheProgram) {
    Form3& w = openCopy(10, "4");
    const QString answered = w.Text1->text();
    const size_t before = fake.speech.spoken.size();
    answerRight();
    expectNoFailure();
    ASSERT_EQ(fake.messages.shown.size(), 1);
    EXPECT_EQ(fake.messages.shown[0],
              "您已经学完全部词汇，现在重置数据，建议采用Quillmoor英语学习软件进一步学习");
    EXPECT_FALSE(std::filesystem::exists(fake.folders.paths.file(words::kWeedingFile)));
    EXPECT_EQ(stored(keys::autoDelete), "");
    EXPECT_EQ(stored(keys::modeDelete), "");
    EXPECT_EQ(fake.navigator.quits, 1);
    EXPECT_FALSE(w.mMain.isOpen());
    // Only the answered word was spoken: no further question.
    ASSERT_EQ(fake.speech.spoken.size(), before + 1);
    EXPECT_EQ(fake.speech.spoken.back().text, answered);
}

// ---- The new-word plan -------------------------------------------------------------------

class NewWordAnswers : public AnswerTest {
  protected:
    Form3& openList(int pending) {
        words(numberedWords(50));
        std::vector<words::WordEntry> rows;
        for (int i = 1; i <= pending; ++i) {
            rows.push_back(
                entry(QStringLiteral("f%1").arg(i), QStringLiteral("n.生词%1").arg(i), 50, 9));
        }
        rows.push_back(entry("learned", "n.学过", 50, 5));
        fake.folders.writeWordFile(words::kNewWordFile, rows, words::kNewWordTable);
        learn("fallible");
        speechOn();
        shuffledDraws();
        return open();
    }
    std::optional<words::WordEntry> listRow(const QString& word) const {
        return fileRow(words::kNewWordFile, words::kNewWordTable, word);
    }
};

TEST_F(NewWordAnswers, RowAtNineRetiresAndTheNextQuestionFollows) {
    Form3& w = openList(30);
    ASSERT_EQ(stored(keys::autoFallible), "30");
    const QString answered = w.Text1->text();
    const size_t before = fake.speech.spoken.size();
    answerRight();
    expectNoFailure();
    EXPECT_EQ(listRow(answered)->qmdelete, 8);
    EXPECT_EQ(listRow(answered)->qmuse, 50);
    EXPECT_EQ(stored(keys::autoFallible), "29");
    EXPECT_EQ(stored(keys::checkFallible), "31");
    EXPECT_EQ(w.mRangeLast, 29);
    EXPECT_EQ(w.mQuestionNo, 0);
    EXPECT_EQ(fake.speech.spoken.size(), before + 2);
    EXPECT_TRUE(fake.navigator.shown.empty());
}

TEST_F(NewWordAnswers, MissRaisesTheRowByTwoAndLeavesTheCounters) {
    Form3& w = openList(30);
    const QString answered = w.Text1->text();
    answerWrong();
    expectNoFailure();
    EXPECT_EQ(listRow(answered)->qmdelete, 11);
    EXPECT_EQ(newWordList().size(), 31u);
    EXPECT_EQ(stored(keys::autoFallible), "30");
    EXPECT_EQ(stored(keys::checkFallible), "31");
    EXPECT_EQ(w.mTries, 2);
    EXPECT_EQ(w.Text1->text(), answered);
}

TEST_F(NewWordAnswers, RetirementBelowTwentyOnePendingEndsThePlanAtTheStartWindow) {
    Form3& w = openList(21);
    const size_t before = fake.speech.spoken.size();
    answerRight();
    expectNoFailure();
    EXPECT_EQ(stored(keys::autoFallible), "20");
    EXPECT_EQ(stored(keys::modeLearn), "autosmall");
    ASSERT_EQ(fake.messages.shown.size(), 1);
    EXPECT_EQ(fake.messages.shown[0], "您已经学完全部生词，请选择其它方式学习");
    ASSERT_EQ(fake.navigator.shown.size(), 1u);
    EXPECT_EQ(fake.navigator.shown[0], core::WindowKind::Start);
    EXPECT_FALSE(w.mNew.isOpen());
    EXPECT_EQ(fake.speech.spoken.size(), before + 1);  // no further question
    EXPECT_EQ(w.mQuestionNo, 1);
    EXPECT_EQ(w.mPaceCount, 1);
}

}  // namespace
