#include "drill/progress_rules.h"
#include "tests/support/case_names.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace drill;

// Cells lit after calls with question numbers 1..upTo, as the series bar keeps earlier cells.
int seriesCellsAfter(int upTo, int roundSize) {
    int lit = 0;
    for (int q = 1; q <= upTo; ++q) {
        lit = std::max(lit, seriesBarCell(q, roundSize) + 1);
    }
    return lit;
}

TEST(SeriesBar, FiftyQuestionsLightACellEveryFifth) {
    EXPECT_EQ(seriesCellsAfter(4, 50), 0);
    EXPECT_EQ(seriesBarCell(4, 50), -1);
    EXPECT_EQ(seriesBarCell(5, 50), 0);
    EXPECT_EQ(seriesCellsAfter(10, 50), 2);
    EXPECT_EQ(seriesCellsAfter(49, 50), 9);
    EXPECT_EQ(seriesBarCell(50, 50), 9);
}

TEST(SeriesBar, EachSeriesSizeLightsCellCAtItsTenth) {
    for (int size : {50, 100, 200}) {
        for (int c = 0; c < 10; ++c) {
            const int first = (c + 1) * size / 10;
            EXPECT_EQ(seriesBarCell(first, size), c) << size << " cell " << c;
            EXPECT_LT(seriesBarCell(first - 1, size), c) << size << " cell " << c;
        }
    }
    EXPECT_EQ(seriesBarCell(20, 200), 0);
    EXPECT_EQ(seriesBarCell(180, 200), 8);
    EXPECT_EQ(seriesBarCell(0, 50), -1);
}

struct BarCase {
    double value;
    double scale;
    int cells;
};

std::string barCaseName(const ::testing::TestParamInfo<BarCase>& info) {
    return testing_support::caseName(info.param.value, "of", info.param.scale);
}

class WeedingBar : public ::testing::TestWithParam<BarCase> {};

TEST_P(WeedingBar, FillsAsTheWordsLeftFall) {
    EXPECT_EQ(weedingBarCells(GetParam().value, GetParam().scale), GetParam().cells);
}

INSTANTIATE_TEST_SUITE_P(
    WordCount1000, WeedingBar,
    ::testing::Values(BarCase{1000, 1000, 0}, BarCase{500, 1000, 5}, BarCase{4, 1000, 10},
                      BarCase{81, 1000, 9},  // 11 x 91 = 1001: not below the count yet
                      BarCase{80, 1000, 10}, BarCase{900, 1000, 0}, BarCase{800, 1000, 2},
                      // No words at all, or more left than the count: an empty bar.
                      BarCase{4, 0, 0}, BarCase{5000, 1000, 0}),
    barCaseName);

class NewWordBar : public ::testing::TestWithParam<BarCase> {};

TEST_P(NewWordBar, FillsAsThePendingWordsFall) {
    EXPECT_EQ(newWordBarCells(GetParam().value, static_cast<int>(GetParam().scale)),
              GetParam().cells);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewWordBar,
    ::testing::Values(BarCase{50, 30, 0}, BarCase{35, 30, 5}, BarCase{21, 30, 10},
                      BarCase{47, 30, 1},
                      // Fewer than 20 pending with a proper base: every word learned.
                      BarCase{20, 30, 10}, BarCase{3, 30, 10},
                      // A base of 0 or less has no scale: the bar stays empty, whatever P.
                      BarCase{25, 0, 0}, BarCase{5, 0, 0}, BarCase{0, -19, 0}, BarCase{10, -17, 0}),
    barCaseName);

TEST(LevelCells, RoundHalfToEvenWithinTenCells) {
    EXPECT_EQ(levelMeterCells(2.5), 2);
    EXPECT_EQ(levelMeterCells(3.5), 4);
    EXPECT_EQ(levelMeterCells(0.5), 0);
    EXPECT_EQ(levelMeterCells(10.89), 10);
    EXPECT_EQ(levelMeterCells(-1), 0);
    EXPECT_EQ(levelMeterCells(2.5000000000000004), 3);
    EXPECT_EQ(levelMeterCells(3.4999999999999956), 3);
}

const AutoPlanSteps& large() {
    return *autoPlanSteps("autolarge");
}

AutoLevelState levelAt(double level, int tries, int paceCount = 10) {
    AutoLevelState s;
    s.level = level;
    s.paceLimit = 9;
    s.paceCount = paceCount;
    s.tries = tries;
    s.rangeFirst = 2251;
    s.rangeLast = 3000;
    return s;
}

TEST(AutoLevel, PaceReachedWithoutMissRaisesTheLevelAndMovesTheWindowUp) {
    AutoLevelState s = levelAt(3.2, 1);
    const AutoLevelBar bar = stepAutoLevel(s, large(), 15000, 750);
    EXPECT_NEAR(s.level, 3.69, 1e-9);
    EXPECT_NEAR(s.paceLimit, 9.2, 1e-9);
    EXPECT_EQ(s.rangeFirst, 3001);
    EXPECT_EQ(s.rangeLast, 3750);
    EXPECT_EQ(s.paceCount, 1);
    EXPECT_EQ(s.tries, 1);
    EXPECT_FALSE(bar.clearFirst);
    EXPECT_EQ(bar.cells, 4);
}

TEST(AutoLevel, PaceNotYetAboveTheLimitChangesNothing) {
    AutoLevelState s = levelAt(3.2, 1, 9);
    const AutoLevelBar bar = stepAutoLevel(s, large(), 15000, 750);
    EXPECT_DOUBLE_EQ(s.level, 3.2);
    EXPECT_EQ(s.paceCount, 9);
    EXPECT_EQ(s.rangeFirst, 2251);
    EXPECT_EQ(bar.cells, 3);
    EXPECT_FALSE(bar.clearFirst);
}

TEST(AutoLevel, MissLowersTheLevelAndMovesTheWindowDown) {
    AutoLevelState s = levelAt(3.2, 2, 4);
    const AutoLevelBar bar = stepAutoLevel(s, large(), 15000, 750);
    EXPECT_NEAR(s.level, 2.7, 1e-9);
    EXPECT_EQ(s.rangeFirst, 1501);
    EXPECT_EQ(s.rangeLast, 2250);
    EXPECT_EQ(s.tries, 1);
    EXPECT_EQ(s.paceCount, 1);
    EXPECT_TRUE(bar.clearFirst);
    EXPECT_EQ(bar.cells, 3);
}

TEST(AutoLevel, MissAtOrBelowTheStepDownKeepsTheLevelButRestartsAndMoves) {
    AutoLevelState s = levelAt(0.5, 3, 4);
    const AutoLevelBar bar = stepAutoLevel(s, large(), 15000, 750);
    EXPECT_DOUBLE_EQ(s.level, 0.5);
    EXPECT_FALSE(bar.clearFirst);
    EXPECT_EQ(bar.cells, 0);
    EXPECT_EQ(s.rangeFirst, 1501);
    EXPECT_EQ(s.tries, 1);
    EXPECT_EQ(s.paceCount, 1);
}

TEST(AutoLevel, TopLevelRisesOnceAndThenNoMore) {
    AutoLevelState s = levelAt(10.4, 1);
    s.rangeFirst = 15001;
    s.rangeLast = 15750;
    AutoLevelBar bar = stepAutoLevel(s, large(), 15000, 750);
    EXPECT_NEAR(s.level, 10.89, 1e-9);
    EXPECT_EQ(bar.cells, 10);
    // At the end of the list the range grows instead of moving.
    EXPECT_EQ(s.rangeFirst, 15001);
    EXPECT_EQ(s.rangeLast, 15000);

    s.paceCount = 50;
    bar = stepAutoLevel(s, large(), 15000, 750);
    EXPECT_NEAR(s.level, 10.89, 1e-9);
    EXPECT_EQ(s.paceCount, 50);
    EXPECT_EQ(bar.cells, 10);

    // A level a hair above 10.5 rounds to 11: no rise.
    s = levelAt(10.500000000000009, 1);
    stepAutoLevel(s, large(), 15000, 750);
    EXPECT_EQ(s.level, 10.500000000000009);
    EXPECT_EQ(s.paceCount, 10);
}

TEST(AutoLevel, WindowAtTheStartStaysOnAMiss) {
    AutoLevelState s = levelAt(1, 2);
    s.rangeFirst = 750;
    s.rangeLast = 1499;
    stepAutoLevel(s, large(), 15000, 750);
    EXPECT_EQ(s.rangeFirst, 750);
    EXPECT_EQ(s.rangeLast, 1499);
    EXPECT_NEAR(s.level, 0.5, 1e-9);
}

TEST(AutoLevel, RiseNearTheEndSetsTheLastPositionToTheWordCount) {
    AutoLevelState s = levelAt(5, 1);
    s.rangeFirst = 14001;
    s.rangeLast = 14300;  // above 15000 - 750
    stepAutoLevel(s, large(), 15000, 750);
    EXPECT_EQ(s.rangeFirst, 14001);
    EXPECT_EQ(s.rangeLast, 15000);
}

}  // namespace
