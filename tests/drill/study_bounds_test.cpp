// Play ranges and draw bounds never reach past the last row; no draw loop can hang.
#include "tests/drill/study_window_fixture.h"

#include <QLineEdit>

namespace {

using namespace study_testing;
namespace keys = settings::keys;

struct PlanCase {
    bool isTest;
    const char* name;
    bool asks;  // whether part of the range lies on a table of 100 rows
};

class EveryPlanOnASmallTable : public StudyWindowTest,
                               public ::testing::WithParamInterface<PlanCase> {};

TEST_P(EveryPlanOnASmallTable, NeverDrawsPastTheLastRow) {
    const PlanCase c = GetParam();
    fake.folders.writeNumberedWords(100);
    // A stored word count larger than the table, as the start window's default gives.
    store().write(keys::checkWordNumber, QStringLiteral("15374"));
    c.isTest ? test(c.name) : learn(c.name);
    store().write(keys::autoIautoflag, QStringLiteral("10"));
    // Draws at the very top of [0, 1) reach the end of every range and bound.
    random().fallback = 0.9999999;
    Form3& w = open();
    for (int call = 0; call < 3; ++call) {
        w.Command2_Click();
    }
    expectNoFailure();
    EXPECT_LE(w.mWordPos, 100) << c.name;
    EXPECT_LE(w.mDrawPos, 100) << c.name;
    if (c.asks) {
        EXPECT_TRUE(w.Text1->text().startsWith(QLatin1Char('w'))) << c.name;
        EXPECT_TRUE(w.Option1[0]->isEnabled());
    } else {
        // Nothing of the range lies on the table: no question, and the rows take no answer.
        EXPECT_TRUE(w.Text1->text().isEmpty()) << c.name;
        for (int i = 0; i < 8; ++i) {
            EXPECT_TRUE(row(i).isEmpty()) << c.name << " row " << i;
            EXPECT_FALSE(w.Option1[static_cast<size_t>(i)]->isEnabled());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Plans, EveryPlanOnASmallTable,
    ::testing::Values(PlanCase{true, "all", true}, PlanCase{true, "normal", true},
                      PlanCase{true, "high", true}, PlanCase{true, "middle", false},
                      PlanCase{true, "senior", false}, PlanCase{true, "cet4", false},
                      PlanCase{true, "cet6", false}, PlanCase{true, "tofel", false},
                      PlanCase{false, "600", true}, PlanCase{false, "1500", false},
                      PlanCase{false, "3000", false}, PlanCase{false, "4500", false},
                      PlanCase{false, "5500", false}, PlanCase{false, "7000", false},
                      PlanCase{false, "9000", false}, PlanCase{false, "autolarge", true},
                      PlanCase{false, "automiddle", true}, PlanCase{false, "autosmall", true},
                      PlanCase{false, "delete", true}, PlanCase{false, "fallible", false}),
    [](const auto& info) {
        return std::string(info.param.isTest ? "test_" : "learn_") + info.param.name;
    });

using DrawBounds = StudyWindowTest;

TEST_F(DrawBounds, GradedPlanRangeIsCutAtTheTablesEnd) {
    fake.folders.writeNumberedWords(100);
    learn("600");
    random().fallback = 0.9999999;
    Form3& w = open();
    expectNoFailure();
    EXPECT_EQ(w.mRangeLast, 600);  // the plan's range stays as the plan gives it
    EXPECT_EQ(w.mWordPos, 100);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("w100"));
}

TEST_F(DrawBounds, AQuestionComesAgainOnceTheRangeHasWords) {
    fake.folders.writeNumberedWords(100);
    learn("1500");
    random().fallback = 0.5;
    Form3& w = open();
    EXPECT_TRUE(w.Text1->text().isEmpty());
    w.mRangeFirst = 1;
    w.mRangeLast = 100;
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(w.Text1->text(), QStringLiteral("w51"));
    EXPECT_TRUE(w.Option1[0]->isEnabled());
}

TEST_F(DrawBounds, VocabularyTestOverCapitalsOnlyAsksNothing) {
    words({entry("Ann", "n.安", 100), entry("Bob", "n.鲍勃", 99), entry("Cid", "n.熙德", 98)});
    test("normal");
    random().fallback = 0.2;
    Form3& w = open();
    expectNoFailure();
    EXPECT_TRUE(w.Text1->text().isEmpty());
}

TEST_F(DrawBounds, RareQualifyingWordIsFoundByTheScan) {
    std::vector<words::WordEntry> rows;
    for (int i = 1; i <= 50; ++i) {
        rows.push_back(
            entry(QStringLiteral("W%1").arg(i), QStringLiteral("n.词%1").arg(i), 200 - i));
    }
    rows.push_back(entry("zoo", "n.动物园", 100));
    words(rows);
    test("all");
    random().fallback = 0.0;  // the random draws only ever reach row 1
    Form3& w = open();
    expectNoFailure();
    EXPECT_EQ(w.Text1->text(), QStringLiteral("zoo"));
    EXPECT_EQ(w.mWordPos, 51);
}

TEST_F(DrawBounds, TableOfOneWordDealsEmptyDistractorRows) {
    // No other word can be a distractor: the rows stay empty, the window does not hang.
    words({entry("book", "n.书", 100)});
    learn("600");
    push(random(), {0.0});
    push(random(), permutation({2, 0, 1, 3, 4, 5}));
    random().fallback = 0.0;
    Form3& w = open();
    expectNoFailure();
    EXPECT_EQ(w.Text1->text(), QStringLiteral("book"));
    EXPECT_EQ(row(2), QStringLiteral("n.书"));
    for (int i : {0, 1, 3, 4, 5, 6}) {
        EXPECT_TRUE(row(i).isEmpty()) << i;
    }
}

TEST_F(DrawBounds, RarelyUsedDistractorsAreTakenPastTheBound) {
    // The only other word is below the distractors' minimum use: past the bound it is taken.
    words({entry("book", "n.书", 100), entry("desk", "n.桌子", 10)});
    learn("600");
    Form3& w = load();
    w.mWordCount = 2;
    w.mRangeFirst = 1;
    w.mRangeLast = 1;
    push(random(), {0.0});
    push(random(), permutation({2, 0, 1, 3, 4, 5}));
    random().fallback = 0.9;
    w.Command2_Click();
    expectNoFailure();
    EXPECT_EQ(row(2), QStringLiteral("n.书"));
    for (int i : {0, 1, 3, 4, 5, 6}) {
        EXPECT_EQ(row(i), QStringLiteral("n.桌子")) << i;
    }
}

TEST_F(DrawBounds, RepeatingGeneratorStillGivesAPermutation) {
    words({entry("book", "n.书", 100), entry("desk", "n.桌子", 99)});
    learn("600");
    random().fallback = 0.5;
    Form3& w = open();
    expectNoFailure();
    std::vector<int> positions(w.mChoiceSlot.begin(), w.mChoiceSlot.begin() + 6);
    positions[0] = positions[0] == 6 ? 5 : positions[0];
    std::sort(positions.begin(), positions.end());
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

}  // namespace
