// The question driver: scripted deals through the random seam.
#include "tests/drill/study_window_fixture.h"

#include <QLabel>
#include <QLineEdit>

namespace {

using namespace study_testing;
namespace keys = settings::keys;

/// Ten nouns and an adjective, highest qmuse first; "Tom" is capitalised.
std::vector<words::WordEntry> nouns() {
    return {entry("book", "n.书", 100, 15), entry("big", "adj.大的", 99),
            entry("desk", "n.桌子", 98),    entry("pen", "n.笔", 97),
            entry("cat", "n.猫", 96),       entry("dog", "n.狗", 95),
            entry("Tom", "n.汤姆", 94),     entry("cup", "n.杯子", 93),
            entry("map", "n.地图", 92),     entry("sun", "n.太阳", 91)};
}

class QuestionDriver : public StudyWindowTest {
  protected:
    /// Loads a graded plan over the words and sets the range, without dealing yet.
    Form3& loadPlan(const std::vector<words::WordEntry>& rows, const char* plan = "600") {
        words(rows);
        learn(plan);
        Form3& w = load();
        w.mRangeFirst = 1;
        w.mRangeLast = 600;
        return w;
    }
};

TEST_F(QuestionDriver, DealsTheRightGlossAndFiveDistractorsOfItsPrefix) {
    Form3& w = loadPlan(nouns());
    push(random(), {at(1, 10)});                      // the question word: book
    push(random(), permutation({3, 0, 1, 2, 4, 5}));  // right answer on row 3
    push(random(), {at(2, 10), at(3, 10)});           // adj.大的 has another prefix: desk
    push(random(), {at(4, 10), at(5, 10), at(6, 10)});
    push(random(), {at(7, 10), at(8, 10)});  // Tom is capitalised: cup
    w.Command2_Click();
    expectNoFailure();
    EXPECT_TRUE(random().script.empty());

    EXPECT_EQ(w.Text1->text(), QStringLiteral("book"));
    EXPECT_EQ(w.mWordPos, 1);
    EXPECT_EQ(w.mCurWord, QStringLiteral("book"));
    EXPECT_EQ(w.mCurUse, 100);
    EXPECT_EQ(w.Text2->text(), QStringLiteral("100"));
    EXPECT_EQ(w.mChoiceSlot[0], 3);
    EXPECT_EQ(w.mLastRightSlot, 3);
    EXPECT_EQ(row(3), QStringLiteral("n.书"));
    EXPECT_TRUE(rowShown(3));
    EXPECT_EQ(row(0), QStringLiteral("n.桌子"));
    EXPECT_EQ(row(1), QStringLiteral("n.笔"));
    EXPECT_EQ(row(2), QStringLiteral("n.猫"));
    EXPECT_EQ(row(4), QStringLiteral("n.狗"));
    EXPECT_EQ(row(5), QStringLiteral("n.杯子"));
    EXPECT_EQ(row(6), QStringLiteral("n.杯子"));  // row 6 shows what position 5 holds
    EXPECT_FALSE(rowShown(5));
    EXPECT_EQ(w.mDrawUse, 93);
    EXPECT_EQ(w.mVerbChoice, QStringLiteral("no"));
    // qmdelete 15 colours the headword.
    EXPECT_EQ(w.text1Colour(), QColor(0, 60, 205));
}

TEST_F(QuestionDriver, SwapsWhenThePermutationRepeatsTheLastRightRow) {
    Form3& w = loadPlan(nouns());
    w.mLastRightSlot = 3;
    push(random(), {at(1, 10)});
    push(random(), permutation({3, 0, 1, 2, 4, 5}));
    random().fallback = at(4, 10);  // every distractor: pen
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(w.mChoiceSlot[0], 0);
    EXPECT_EQ(w.mChoiceSlot[1], 3);
    EXPECT_EQ(w.mLastRightSlot, 0);
    EXPECT_EQ(row(0), QStringLiteral("n.书"));
    EXPECT_EQ(row(3), QStringLiteral("n.笔"));
}

TEST_F(QuestionDriver, RightAnswerInPositionFiveIsShownOnRowSix) {
    Form3& w = loadPlan(nouns());
    push(random(), {at(1, 10)});
    push(random(), permutation({5, 0, 1, 2, 3, 4}));
    random().fallback = at(4, 10);
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(w.mChoiceSlot[0], 6);
    EXPECT_EQ(w.mLastRightSlot, 5);
    EXPECT_EQ(row(6), QStringLiteral("n.书"));
    EXPECT_FALSE(rowShown(5));
    EXPECT_TRUE(rowShown(6));
}

TEST_F(QuestionDriver, VerbFormQuestionAnswersWithItsBaseVerb) {
    Form3& w = loadPlan({entry("went", "v.go 的过去式", 100), entry("go", "v.去", 99),
                         entry("run", "v.跑", 98), entry("ran", "v.run的过去式", 97),
                         entry("eat", "v.吃", 96), entry("book", "n.书", 95),
                         entry("sit", "v.坐", 94), entry("Go", "v.围棋", 93)});
    push(random(), {at(1, 8)});
    push(random(), permutation({2, 0, 1, 3, 4, 5}));
    // book is no verb, Go is capitalised; ran resolves to its base run.
    push(random(), {at(6, 8), at(8, 8), at(4, 8), at(3, 8), at(5, 8), at(7, 8), at(3, 8)});
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(w.mVerbChoice, QStringLiteral("yes"));
    EXPECT_EQ(row(2), QStringLiteral("go v.去(vbl)"));
    EXPECT_EQ(row(0), QStringLiteral("run v.跑(vbl)"));
    EXPECT_EQ(row(1), QStringLiteral("run v.跑(vbl)"));
    EXPECT_EQ(row(3), QStringLiteral("eat v.吃(vbl)"));
    EXPECT_EQ(row(4), QStringLiteral("sit v.坐(vbl)"));
    EXPECT_EQ(row(5), QStringLiteral("run v.跑(vbl)"));
    // The stored note stays the question's own.
    EXPECT_EQ(w.mCurWord, QStringLiteral("went"));
}

TEST_F(QuestionDriver, VerbFormWithoutAKnownBaseKeepsTheBareBase) {
    Form3& w = loadPlan({entry("flew", "v.fly的过去式", 100), entry("run", "v.跑", 99)});
    push(random(), {at(1, 2)});
    push(random(), permutation({2, 0, 1, 3, 4, 5}));
    random().fallback = at(2, 2);
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(row(2), QStringLiteral("fly"));
    for (int i : {0, 1, 3, 4, 5}) {
        EXPECT_EQ(row(i), QStringLiteral("run v.跑(vbl)")) << i;
    }
}

TEST_F(QuestionDriver, VerbFormWithoutBaseIsDrawnAgain) {
    // "的" missing: no base can be cut out; another word is asked instead.
    Form3& w = loadPlan(
        {entry("gone", "v.去过去分词", 100), entry("pen", "n.笔", 99), entry("cat", "n.猫", 98)});
    push(random(), {at(1, 3), at(2, 3)});
    push(random(), permutation({0, 1, 2, 3, 4, 5}));
    random().fallback = at(3, 3);
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(w.Text1->text(), QStringLiteral("pen"));
    EXPECT_EQ(w.mWordPos, 2);
}

TEST_F(QuestionDriver, VocabularyTestsSkipVerbFormsCrossReferencesAndProperNames) {
    const std::vector<words::WordEntry> rows = {entry("gone", "v.go的过去分词", 100),
                                                entry("alike", "adj.同=same", 99),
                                                entry("Apple", "n.苹果公司", 98),
                                                entry("Z", "n.字母Z", 97),
                                                entry("Zoo", "n.动物园", 96),
                                                entry("pen", "n.笔", 95),
                                                entry("cat", "n.猫", 94),
                                                entry("go", "v.去", 93)};
    for (const char* kind : {"normal", "all", "high"}) {
        words(rows);
        test(kind);
        Form3& w = load();
        w.mRangeFirst = 1;
        w.mRangeLast = 8;
        random().script.clear();
        push(random(), {at(1, 8), at(2, 8), at(3, 8), at(4, 8), at(5, 8)});
        push(random(), permutation({0, 1, 2, 3, 4, 5}));
        random().fallback = at(6, 8);
        w.Command2_Click();
        expectNoFailure();
        EXPECT_EQ(w.Text1->text(), QStringLiteral("Zoo")) << kind;  // Z with more letters passes
    }
    // A pre-exam test and a study plan ask every word.
    for (bool isTest : {true, false}) {
        words(rows);
        isTest ? test("middle") : learn("600");
        Form3& w = load();
        w.mRangeFirst = 1;
        w.mRangeLast = 8;
        random().script.clear();
        push(random(), {at(3, 8)});
        push(random(), permutation({0, 1, 2, 3, 4, 5}));
        random().fallback = at(6, 8);
        w.Command2_Click();
        EXPECT_EQ(w.Text1->text(), QStringLiteral("Apple"));
    }
}

TEST_F(QuestionDriver, FontSizesOfHeadwordRightGlossAndDistractors) {
    const QString longWord = QString(43, QLatin1Char('w'));
    const QString rightGloss = QStringLiteral("n.") + QString(79, QChar(0x5B57));  // 81
    const QString longGloss = QStringLiteral("n.") + QString(64, QChar(0x8BCD));   // 66
    Form3& w = loadPlan({entry(longWord, rightGloss, 100, 9), entry("pen", longGloss, 99)});
    push(random(), {at(1, 2)});
    push(random(), permutation({0, 1, 2, 3, 4, 5}));
    random().fallback = at(2, 2);
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(w.Text1->font().pointSizeF(), 19);
    EXPECT_EQ(w.Option1[0]->font().pointSizeF(), 10);
    EXPECT_EQ(w.Option1[1]->font().pointSizeF(), 13);
    EXPECT_EQ(w.Option1[6]->font().pointSizeF(), 13);  // takes the size of position 5
    // qmdelete 9 keeps the prelude's colour.
    EXPECT_EQ(w.text1Colour(), QColor(128, 255, 255));
}

TEST_F(QuestionDriver, PreludeShowsTheCountersAndHandsOverAFullSeries) {
    Form3& w = loadPlan(nouns());
    store().write(keys::checkLearnedtime, QStringLiteral("42"));
    const struct {
        const char* pending;
        bool shown;
        const char* caption;
    } cases[] = {{"21", true, "生词数:1"},
                 {"20", false, "生词数:1"},
                 {"", false, "生词数:1"},
                 {"35", true, "生词数:15"}};
    for (const auto& c : cases) {
        store().write(keys::autoFallible, QString::fromUtf8(c.pending));
        random().fallback = 0.3;
        w.Command2_Click();
        EXPECT_EQ(w.Label3->text(), QStringLiteral("练习次数：42"));
        EXPECT_EQ(!w.Label2->isHidden(), c.shown) << c.pending;
        EXPECT_EQ(w.Label2->text(), QString::fromUtf8(c.caption)) << c.pending;
    }

    // A full series builds no question and speaks nothing.
    speechOn();
    fake.speech.spoken.clear();
    w.Label1->setText(QStringLiteral("x"));
    w.mQuestionNo = w.mRoundSize;
    const QString before = w.Text1->text();
    const int draws = random().draws;
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(random().draws, draws);
    EXPECT_TRUE(spoken().isEmpty());
}

TEST_F(QuestionDriver, NewWordListRedrawsRowsWithoutHeadword) {
    fake.folders.writeNumberedWords(30);
    fake.folders.writeWordFile(words::kNewWordFile,
                               {entry("apple", "n.苹果", 40, 19), entry("pear", "n.梨", 40, 18),
                                entry("plum", "n.李子", 40, 17)},
                               words::kNewWordTable);
    learn("fallible");
    Form3& w = load();
    EXPECT_EQ(w.mFallibleCount, 3);
    // A row without headword comes up first in descending difficulty.
    words::Recordset& list = w.mNew.rs;
    list.addNew();
    list.setField(words::kNote, words::toStoredNote(QStringLiteral("n.空")));
    list.setField(words::kUse, 40);
    list.setField(words::kDelete, 25);
    list.update();
    w.mRangeFirst = 1;
    w.mRangeLast = 4;
    push(random(), {at(1, 4), at(3, 4)});
    push(random(), permutation({4, 0, 1, 2, 3, 5}));
    random().fallback = at(2, 3);
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(w.mWordPos, 3);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("pear"));
    EXPECT_EQ(row(4), QStringLiteral("n.梨"));
    EXPECT_EQ(row(0), QStringLiteral("n.苹果"));
    EXPECT_EQ(w.text1Colour(), QColor(0, 30, 175));  // qmdelete 18
    EXPECT_FALSE(w.mMain.isOpen());
}

TEST_F(QuestionDriver, NewWordVerbFormLooksItsBaseUpInTheWordDatabase) {
    words({entry("run", "v.跑", 100), entry("eat", "v.吃", 99)});
    fake.folders.writeWordFile(
        words::kNewWordFile, {entry("ran", "v.run的过去式", 40, 20), entry("pear", "n.梨", 40, 18)},
        words::kNewWordTable);
    store().write(keys::checkWordNumber, QStringLiteral("2"));
    learn("fallible");
    Form3& w = load();
    w.mRangeFirst = 1;
    w.mRangeLast = 1;
    push(random(), {0.0});
    push(random(), permutation({3, 0, 1, 2, 4, 5}));
    random().fallback = at(2, 2);
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(w.Text1->text(), QStringLiteral("ran"));
    EXPECT_EQ(row(3), QStringLiteral("run v.跑(vbl)"));
    EXPECT_EQ(row(0), QStringLiteral("eat v.吃(vbl)"));
    EXPECT_FALSE(w.mMain.isOpen());  // the look-up list is closed again
}

}  // namespace
