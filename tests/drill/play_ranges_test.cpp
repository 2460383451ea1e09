#include "drill/play_ranges.h"

#include <gtest/gtest.h>

namespace {

using namespace drill;

TEST(PlayRanges, TestKindsAndGradedPlans) {
    const struct {
        const char* name;
        bool test;
        double first, last;
    } cases[] = {
        {"all", true, 1, 777},       {"normal", true, 1, 777},     {"high", true, 1, 777},
        {"middle", true, 601, 1500}, {"senior", true, 1501, 3000}, {"cet4", true, 3001, 6000},
        {"cet6", true, 6001, 8000},  {"tofel", true, 8001, 9500},  {"600", false, 1, 600},
        {"1500", false, 601, 1500},  {"3000", false, 1501, 3000},  {"4500", false, 3001, 6000},
        {"5500", false, 6001, 8000}, {"7000", false, 8001, 9500},  {"9000", false, 9501, 12000},
    };
    for (const auto& c : cases) {
        const auto r = c.test ? testRange(QString::fromUtf8(c.name), 777)
                              : gradedRange(QString::fromUtf8(c.name));
        ASSERT_TRUE(r) << c.name;
        EXPECT_EQ(r->first, c.first) << c.name;
        EXPECT_EQ(r->last, c.last) << c.name;
    }
    EXPECT_FALSE(testRange(QStringLiteral("600"), 777));
    EXPECT_FALSE(gradedRange(QStringLiteral("autolarge")));
}

TEST(PlayRanges, AutomaticWindowsAndLevels) {
    EXPECT_EQ(*windowStep(QStringLiteral("autolarge"), 15000), 750);
    EXPECT_EQ(*windowStep(QStringLiteral("automiddle"), 15374), 307);
    EXPECT_EQ(*windowStep(QStringLiteral("autosmall"), 199), 0);
    EXPECT_FALSE(windowStep(QStringLiteral("delete"), 100));

    const PlayRange r = automaticRange(2.5, 15000, 750);
    EXPECT_EQ(r.first, 3750);
    EXPECT_EQ(r.last, 4500);
    const PlayRange zero = automaticRange(0, 15000, 750);
    EXPECT_EQ(zero.first, 1);
    EXPECT_EQ(zero.last, 750);

    EXPECT_EQ(clampLevel(12), 10);
    EXPECT_EQ(clampLevel(-1), 0);
    EXPECT_EQ(levelCells(2.5), 2);
    EXPECT_EQ(levelCells(3.5), 4);
    EXPECT_EQ(savedLevel(2.34567), 2.346);
    EXPECT_EQ(savedLevel(12.5), 10);
    EXPECT_EQ(savedLevel(-0.2), 0);
}

TEST(PlayRanges, SeriesSizesAndPaceLimits) {
    EXPECT_EQ(seriesSize(true, QStringLiteral("high")), 200);
    EXPECT_EQ(seriesSize(true, QStringLiteral("normal")), 100);
    EXPECT_EQ(seriesSize(true, QStringLiteral("all")), 50);
    EXPECT_EQ(seriesSize(true, QStringLiteral("cet6")), 50);
    EXPECT_EQ(seriesSize(false, QStringLiteral("high")), 50);
    EXPECT_EQ(paceLimit(QStringLiteral("12 ")), 3);
    EXPECT_EQ(paceLimit(QStringLiteral("1 ")), 36);
    EXPECT_EQ(paceLimit(QStringLiteral("10")), 9);
    EXPECT_EQ(paceLimit(QStringLiteral("7 ")), 18);
}

TEST(PlayRanges, DrawsNeverLeaveTheRows) {
    // A range reaching past the table is cut at its last row.
    const auto cut = rangeOnRows({1, 600}, 100);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->last, 100);
    EXPECT_EQ(questionPosition(*cut, 100, 0.0), 1);
    EXPECT_EQ(questionPosition(*cut, 100, 0.9999999), 100);
    // A range that starts past the table has nothing to draw; nor has an empty table.
    EXPECT_FALSE(rangeOnRows({601, 1500}, 100));
    EXPECT_FALSE(rangeOnRows({1, 50}, 0));
    // A window of 0 words draws its first position, as the formula gives.
    const auto none = rangeOnRows({1, 0}, 100);
    ASSERT_TRUE(none);
    EXPECT_EQ(questionPosition(*none, 100, 0.7), 1);
    // The automatic window at level 10 ends at the table's end.
    const auto top = rangeOnRows({100, 105}, 100);
    ASSERT_TRUE(top);
    EXPECT_EQ(questionPosition(*top, 100, 0.9999999), 100);
    // The question formula as written, inside the rows.
    EXPECT_EQ(questionPosition({3750, 4500}, 15000, 0.5), 4125);

    // Distractors: int(r x n + 1), a bound beyond the rows cut to them.
    EXPECT_EQ(distractorPosition(10, 10, 0.0), 1);
    EXPECT_EQ(distractorPosition(10, 10, 0.9999999), 10);
    EXPECT_EQ(distractorPosition(15374, 10, 0.9999999), 10);
    EXPECT_EQ(distractorPosition(0, 10, 0.5), 1);
}

}  // namespace
