// Whole series answered through clicks: the bar, the verdicts, the vocabulary estimate and the
// automatic level, as a learner meets them in the study window.
#include "tests/drill/answer_fixture.h"

namespace {

using namespace answer_testing;
using testing_support::entry;
namespace keys = settings::keys;

struct SeriesCase {
    int score;
    const char* verdict;
};

class GradedSeries : public AnswerTest, public ::testing::WithParamInterface<SeriesCase> {};

TEST_P(GradedSeries, FiftyClickedAnswersEndInTheVerdictOfTheScore) {
    const SeriesCase& c = GetParam();
    words(numberedWords(600));
    learn("600");
    speechOn();
    shuffledDraws(static_cast<unsigned>(c.score));
    Form3& w = open();

    for (int q = 1; q <= 50; ++q) {
        const QString word = w.Text1->text();
        ASSERT_TRUE(word.startsWith('w')) << q;
        // The row the test clicks as right is the one that shows the word's own gloss.
        ASSERT_EQ(row(rightRow()), QStringLiteral("n.词") + word.mid(1)) << q;
        if (q > c.score) {
            answerWrong();
            ASSERT_EQ(w.Text1->text(), word) << q;
        }
        answerRight();
        ASSERT_TRUE(fake.failure.messages.isEmpty()) << q;
        if (q < 50) {
            // One cell for every fifth question answered.
            ASSERT_EQ(litCells().size(), static_cast<size_t>(q / 5)) << q;
            ASSERT_EQ(w.mQuestionNo, q + 1);
        }
    }

    EXPECT_EQ(w.Label1->text(), QString::fromUtf8(c.verdict));
    EXPECT_EQ(stored(keys::checkLearnedtime), "50");
    EXPECT_TRUE(w.Text1->text().isEmpty());
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(row(i).isEmpty()) << i;
        EXPECT_TRUE(w.Option1[static_cast<size_t>(i)]->isEnabled()) << i;
    }
    EXPECT_FALSE(anyRowChecked());
    EXPECT_TRUE(litCells().empty());
    EXPECT_EQ(w.mQuestionNo, 1);
    EXPECT_EQ(w.mFirstTryRight, 0);
    // Every missed word is on the list, and the counters count its rows.
    const auto listed = newWordList();
    EXPECT_GE(listed.size(), 1u);
    EXPECT_LE(listed.size(), static_cast<size_t>(50 - c.score));
    EXPECT_EQ(stored(keys::checkFallible), QString::number(listed.size()));
    EXPECT_EQ(stored(keys::autoFallible), QString::number(listed.size()));

    // An empty row judges nothing: the verdict stays until the next question is asked.
    click(0);
    EXPECT_FALSE(anyRowChecked());  // nor does it stay pressed into the next question
    EXPECT_EQ(stored(keys::checkLearnedtime), "50");
    EXPECT_EQ(w.mQuestionNo, 1);
    EXPECT_EQ(w.Label1->text(), QString::fromUtf8(c.verdict));

    // The next series begins from the start picture and counts from the start.
    clickStartPicture();
    expectNoFailure();
    EXPECT_TRUE(w.Label1->text().isEmpty());
    EXPECT_FALSE(w.Text1->text().isEmpty());
    EXPECT_TRUE(litCells().empty());
    answerRight();
    EXPECT_EQ(w.mFirstTryRight, 1);
    EXPECT_EQ(w.mQuestionNo, 2);
    EXPECT_EQ(stored(keys::checkLearnedtime), "51");
}

INSTANTIATE_TEST_SUITE_P(ScoreBoundaries, GradedSeries,
                         ::testing::Values(SeriesCase{47, "您可以选择下一级进行学习"},
                                           SeriesCase{46, "您的水平符合小学英语要求，可继续学习"},
                                           SeriesCase{35, "您的水平符合小学英语要求，可继续学习"},
                                           SeriesCase{34, "您的水平符合小学英语要求，但要加强学习"},
                                           SeriesCase{21, "您的水平符合小学英语要求，但要加强学习"},
                                           SeriesCase{20, "不好意思，您恐怕要加倍努力才行"}),
                         [](const ::testing::TestParamInfo<SeriesCase>& info) {
                             return "Score" + std::to_string(info.param.score);
                         });

TEST_F(AnswerTest, VocabularyTestEndsInTheEstimateAndFoldsItIntoTheStatistics) {
    words(numberedWords(1000));
    test("all");
    speechOn();
    shuffledDraws(3);
    Form3& w = open();
    EXPECT_EQ(speechCount("welcome to test your vocabulary"), 1);
    for (int q = 1; q <= 50; ++q) {
        if (q > 30) {
            answerWrong();
        }
        answerRight();
        ASSERT_TRUE(fake.failure.messages.isEmpty()) << q;
    }
    // (30 - 4) x 1000 x 0.6 / 50 / 100 = 3.12
    EXPECT_EQ(w.Label1->text(), "您的英语词汇量约为300");
    EXPECT_EQ(w.mVocabEstimate, 300);
    EXPECT_EQ(stored(keys::checkWordvol), "300");
    EXPECT_EQ(stored(keys::checkTesttime), "1");
    EXPECT_TRUE(litCells().empty());
}

TEST_F(AnswerTest, TestOfTwoHundredLightsItsFirstCellAtTheTwentiethQuestion) {
    words(numberedWords(300));
    test("high");
    shuffledDraws(5);
    Form3& w = open();
    ASSERT_EQ(w.mRoundSize, 200);
    for (int q = 1; q <= 20; ++q) {
        answerRight();
        ASSERT_EQ(litCells().size(), q < 20 ? 0u : 1u) << q;
    }
}

// ---- The automatic level -----------------------------------------------------------------

class AutomaticPlan : public AnswerTest {
  protected:
    Form3& openAt(const char* level) {
        words(numberedWords(600));
        learn("autolarge");
        store().write(keys::autoIautoflag, level);
        shuffledDraws(11);
        return open();
    }
};

TEST_F(AutomaticPlan, PaceReachedRaisesTheLevelAndAMissBringsItDown) {
    Form3& w = openAt("3.2");
    ASSERT_EQ(w.mWindowStep, 30);
    ASSERT_EQ(w.mPaceLimit, 9);
    ASSERT_EQ(litCells().size(), 3u);
    ASSERT_EQ(w.mRangeFirst, 192);
    ASSERT_EQ(w.mRangeLast, 222);

    for (int q = 1; q <= 9; ++q) {
        answerRight();
        ASSERT_NEAR(w.mAutoLevel, 3.2, 1e-9) << q;
        ASSERT_EQ(w.mQuestionNo, 0);
    }
    // The tenth right answer without a miss: the driver call finds the pace count above 9.
    answerRight();
    expectNoFailure();
    EXPECT_NEAR(w.mAutoLevel, 3.69, 1e-9);
    EXPECT_NEAR(w.mPaceLimit, 9.2, 1e-9);
    EXPECT_EQ(w.mRangeFirst, 222);
    EXPECT_EQ(w.mRangeLast, 252);
    EXPECT_EQ(w.mPaceCount, 2);
    EXPECT_EQ(litCells().size(), 4u);
    // The bar is drawn before the draw: the question after the rise is from the new window.
    EXPECT_GE(w.mWordPos, 222);
    EXPECT_LE(w.mWordPos, 252);

    answerWrong();
    EXPECT_EQ(w.mTries, 2);
    answerRight();
    expectNoFailure();
    EXPECT_NEAR(w.mAutoLevel, 3.19, 1e-9);
    EXPECT_EQ(w.mRangeFirst, 192);
    EXPECT_EQ(w.mRangeLast, 222);
    EXPECT_EQ(w.mTries, 1);
    EXPECT_EQ(w.mPaceCount, 2);
    EXPECT_EQ(litCells().size(), 3u);
}

TEST_F(AutomaticPlan, MissAtLevelHalfKeepsTheLevelAndLightsNoCell) {
    Form3& w = openAt("0.5");
    answerWrong();
    answerRight();
    expectNoFailure();
    EXPECT_NEAR(w.mAutoLevel, 0.5, 1e-9);
    EXPECT_TRUE(litCells().empty());
    EXPECT_EQ(w.mTries, 1);
    EXPECT_EQ(w.mRangeFirst, 30);  // 600 x 0.5 / 10 = 30 is not above the step: no move
    EXPECT_EQ(w.mRangeLast, 60);
}

// ---- The new-word bar --------------------------------------------------------------------

TEST_F(AnswerTest, NewWordBarFillsAsPendingWordsRetire) {
    std::vector<words::WordEntry> rows;
    for (int i = 1; i <= 50; ++i) {
        rows.push_back(
            entry(QStringLiteral("f%1").arg(i), QStringLiteral("n.生词%1").arg(i), 50, 9));
    }
    fake.folders.writeWordFile(words::kNewWordFile, rows, words::kNewWordTable);
    learn("fallible");
    shuffledDraws(13);
    Form3& w = open();
    ASSERT_EQ(w.mListBarBase, 30);
    EXPECT_TRUE(litCells().empty());
    for (int retired = 1; retired <= 15; ++retired) {
        answerRight();
        ASSERT_TRUE(fake.failure.messages.isEmpty()) << retired;
    }
    // 35 pending: (35 - 20) / 30 x 10 = 5, so cells 0 to 4.
    EXPECT_EQ(stored(keys::autoFallible), "35");
    EXPECT_EQ(litCells(), (std::vector<int>{0, 1, 2, 3, 4}));
}

}  // namespace
