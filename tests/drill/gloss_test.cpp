#include "drill/gloss.h"
#include "drill/deal_tables.h"
#include "tests/support/case_names.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace drill;

struct PrefixCase {
    const char* drawn;
    const char* chooseword;
    bool same;
};

class SamePrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(SamePrefix, ComparesTheDrawnGlosssPrefixLength) {
    const PrefixCase c = GetParam();
    EXPECT_EQ(samePrefix(QString::fromUtf8(c.drawn), QString::fromUtf8(c.chooseword)), c.same);
}

INSTANTIATE_TEST_SUITE_P(Glosses, SamePrefix,
                         ::testing::Values(PrefixCase{"adj.大的", "n.书", false},  // k = 4
                                           PrefixCase{"n.桌子", "n.书", true},     // k = 2
                                           PrefixCase{"大的", "n.书", true},       // no "." passes
                                           PrefixCase{"vt.拿", "v.跑", false},
                                           PrefixCase{"adv.很", "adv",
                                                      false},  // shorter counts whole
                                           PrefixCase{"n.书", "n", false}),
                         [](const auto& info) {
                             return testing_support::caseName(info.param.drawn,
                                                              info.param.chooseword);
                         });

TEST(PosPrefixes, OnlyTheFiveShortPrefixesCount) {
    for (const char* g : {"n.书", "p.在", "v.跑", "adj.大的", "adv.很", "adjective"}) {
        EXPECT_TRUE(hasPosPrefix(QString::fromUtf8(g))) << g;
    }
    for (const char* g : {"vt.拿", "prep.在", "num.一", "书", "", "N.书"}) {
        EXPECT_FALSE(hasPosPrefix(QString::fromUtf8(g))) << g;
    }
}

TEST(VerbFormMarkers, ThreeEndingsMarkAVerbForm) {
    for (const char* g : {"v.go的过去式", "v.go的过去分词", "v.go的现在分词", "过去式"}) {
        EXPECT_TRUE(isVerbForm(QString::fromUtf8(g))) << g;
    }
    for (const char* g : {"v.去", "过去式的", "v.go的分词", ""}) {
        EXPECT_FALSE(isVerbForm(QString::fromUtf8(g))) << g;
    }
}

struct BaseCase {
    const char* gloss;
    std::optional<const char*> base;
};

class BaseVerb : public ::testing::TestWithParam<BaseCase> {};

TEST_P(BaseVerb, CutsBetweenTheFirstPointAndTheParticle) {
    const BaseCase c = GetParam();
    const auto base = baseVerb(QString::fromUtf8(c.gloss));
    ASSERT_EQ(base.has_value(), c.base.has_value()) << c.gloss;
    if (base) {
        EXPECT_EQ(*base, QString::fromUtf8(*c.base));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Glosses, BaseVerb,
    ::testing::Values(BaseCase{"v.run的过去式", "run"}, BaseCase{"v.run 的过去式", "run"},
                      BaseCase{"v. take off 的过去分词", "takeoff"},
                      BaseCase{"run的过去式", "run"},         // no ".": the text before "的"
                      BaseCase{"v.的过去式", ""},             // an empty base
                      BaseCase{"v.run过去式", std::nullopt},  // no "的"
                      BaseCase{"的v.过去式", std::nullopt}),  // "的" before "."
    [](const auto& info) { return testing_support::caseName(info.param.gloss); });

TEST(VerbAnswerText, JoinsWordBlankGlossAndMark) {
    EXPECT_EQ(verbAnswerText(QStringLiteral("run"), QStringLiteral("v.跑")),
              QStringLiteral("run v.跑(vbl)"));
    EXPECT_EQ(verbAnswerText(QString(), QStringLiteral("run")), QStringLiteral(" run(vbl)"));
}

TEST(Capitals, OnlyUpperCaseLatinLettersCount) {
    for (const char* w : {"A", "Zebra", "Tom"}) {
        EXPECT_TRUE(isCapitalised(QString::fromUtf8(w))) << w;
    }
    for (const char* w : {"zebra", "1st", "'tis", "", "Ä", "[x"}) {
        EXPECT_FALSE(isCapitalised(QString::fromUtf8(w))) << w;
    }
}

TEST(Capitals, TheTestFilterTakesAToYAndZAlone) {
    for (const char* w : {"A", "Apple", "Yes", "Z"}) {
        EXPECT_TRUE(inCapitalRange(QString::fromUtf8(w))) << w;
    }
    for (const char* w : {"Zoo", "apple", "", "1"}) {
        EXPECT_FALSE(inCapitalRange(QString::fromUtf8(w))) << w;
    }
}

struct SizeCase {
    int characters;
    double headword;
    double right;
    double distractor;
};

class FontSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FontSizes, FollowTheTablesAtTheirBoundaries) {
    const SizeCase c = GetParam();
    EXPECT_EQ(headwordFontSize(c.characters), c.headword);
    EXPECT_EQ(rightGlossFontSize(2 * c.characters), c.right);
    EXPECT_EQ(distractorFontSize(2 * c.characters), c.distractor);
}

INSTANTIATE_TEST_SUITE_P(Lengths, FontSizes,
                         ::testing::Values(SizeCase{34, 26, 14, 14}, SizeCase{35, 23, 14, 14},
                                           SizeCase{42, 23, 14, 14}, SizeCase{43, 19, 14, 14},
                                           SizeCase{65, 19, 14, 14}, SizeCase{66, 19, 12, 13},
                                           SizeCase{80, 19, 12, 13}, SizeCase{81, 19, 10, 12}),
                         [](const auto& info) {
                             return testing_support::caseName(info.param.characters, "characters");
                         });

TEST(DeletionColourScale, EqualValuesThenAboveTwenty) {
    EXPECT_FALSE(deletionColour(9).has_value());
    EXPECT_FALSE(deletionColour(10.5).has_value());
    EXPECT_EQ(*deletionColour(10), QColor(0, 110, 255));
    EXPECT_EQ(*deletionColour(15), QColor(0, 60, 205));
    EXPECT_EQ(*deletionColour(20), QColor(0, 10, 155));
    EXPECT_EQ(*deletionColour(20.5), QColor(0, 0, 145));
    EXPECT_EQ(*deletionColour(21), QColor(0, 0, 145));
    EXPECT_EQ(*deletionColour(40), QColor(0, 0, 145));
}

}  // namespace
