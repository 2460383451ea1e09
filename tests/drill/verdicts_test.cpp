#include "drill/verdicts.h"

#include "core/failure.h"
#include "tests/support/case_names.h"

#include <gtest/gtest.h>

namespace {

using drill::foldEstimate;
using drill::judgeSeries;

struct VerdictCase {
    bool isTest;
    const char* kindOrPlan;
    int score;
    const char* message;  // nullptr: no message
};

class SeriesVerdicts : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(SeriesVerdicts, ScorePicksTheMessageOfItsBand) {
    const VerdictCase& c = GetParam();
    const auto outcome = judgeSeries(c.isTest, QString::fromUtf8(c.kindOrPlan), c.score, 15374);
    if (c.message == nullptr) {
        EXPECT_FALSE(outcome.message.has_value());
    } else {
        ASSERT_TRUE(outcome.message.has_value());
        EXPECT_EQ(*outcome.message, QString::fromUtf8(c.message));
    }
    EXPECT_FALSE(outcome.estimate.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, SeriesVerdicts,
    ::testing::Values(
        VerdictCase{false, "600", 50, "您可以选择下一级进行学习"},
        VerdictCase{false, "600", 47, "您可以选择下一级进行学习"},
        VerdictCase{false, "600", 46, "您的水平符合小学英语要求，可继续学习"},
        VerdictCase{false, "600", 35, "您的水平符合小学英语要求，可继续学习"},
        VerdictCase{false, "600", 34, "您的水平符合小学英语要求，但要加强学习"},
        VerdictCase{false, "600", 21, "您的水平符合小学英语要求，但要加强学习"},
        VerdictCase{false, "600", 20, "不好意思，您恐怕要加倍努力才行"},
        VerdictCase{false, "600", 0, "不好意思，您恐怕要加倍努力才行"},
        VerdictCase{false, "4500", 40, "您的水平符合大学四级英语要求，可继续学习"},
        VerdictCase{false, "7000", 30, "您的水平符合托福/雅思英语要求，但要加强学习"},
        VerdictCase{false, "9000", 47, "您已学完软件所有内容，建议使用Quillmoor英语学习软件学习"},
        VerdictCase{false, "9000", 46, "您的水平符合专业英语要求，可继续学习"},
        VerdictCase{false, "autolarge", 50, nullptr}, VerdictCase{false, "fallible", 50, nullptr},
        VerdictCase{true, "middle", 45, "您的英语词汇量完全符合中考要求"},
        VerdictCase{true, "middle", 44, "您的英语词汇量基本符合中考要求"},
        VerdictCase{true, "middle", 35, "您的英语词汇量基本符合中考要求"},
        VerdictCase{true, "middle", 34, "您的英语词汇量不太符合中考要求，要努力"},
        VerdictCase{true, "middle", 21, "您的英语词汇量不太符合中考要求，要努力"},
        VerdictCase{true, "middle", 20, "不好意思，您的英语词汇量不符合中考要求"},
        VerdictCase{true, "cet6", 45, "您的英语词汇量完全符合大学英语六级考试要求"},
        VerdictCase{true, "tofel", 45, "您的英语词汇量相当大，建议使用Quillmoor英语学习软件学习"},
        VerdictCase{true, "tofel", 0, "不好意思，您的英语词汇量不符托福/雅思考试要求"},
        // A plan name is no test kind, and test kinds are no plans.
        VerdictCase{true, "600", 50, nullptr}, VerdictCase{false, "middle", 50, nullptr},
        VerdictCase{true, "Middle", 50, nullptr}),
    [](const auto& info) {
        return testing_support::caseName(info.param.isTest ? "test" : "plan", info.param.kindOrPlan,
                                         info.param.score);
    });

struct EstimateCase {
    const char* kind;
    int score;
    double words;
    int estimate;
};

class VocabularyEstimates : public ::testing::TestWithParam<EstimateCase> {};

TEST_P(VocabularyEstimates, ScoreGivesAMultipleOfAHundred) {
    const EstimateCase& c = GetParam();
    const auto outcome = judgeSeries(true, QString::fromLatin1(c.kind), c.score, c.words);
    ASSERT_TRUE(outcome.estimate.has_value());
    EXPECT_EQ(*outcome.estimate, c.estimate);
    EXPECT_EQ(*outcome.message, QStringLiteral("您的英语词汇量约为%1").arg(c.estimate));
}

INSTANTIATE_TEST_SUITE_P(
    Bands, VocabularyEstimates,
    ::testing::Values(EstimateCase{"all", 30, 1000, 300}, EstimateCase{"all", 40, 1000, 300},
                      EstimateCase{"all", 41, 1000, 200}, EstimateCase{"all", 2, 1000, 0},
                      EstimateCase{"all", 3, 1000, 0}, EstimateCase{"all", 50, 15374, 5800},
                      EstimateCase{"high", 170, 1000, 200}, EstimateCase{"high", 200, 1000, 300},
                      EstimateCase{"high", 8, 1000, 0}, EstimateCase{"normal", 100, 1000, 300},
                      EstimateCase{"normal", 4, 10000, 400}, EstimateCase{"normal", 0, 1000, 0}),
    [](const auto& info) {
        return testing_support::caseName(info.param.kind, info.param.score, "of", info.param.words);
    });

TEST(VocabularyWeights, AllNormalHighWeighOneTwoThree) {
    EXPECT_EQ(judgeSeries(true, "all", 10, 1000).weight, 1);
    EXPECT_EQ(judgeSeries(true, "normal", 10, 1000).weight, 2);
    EXPECT_EQ(judgeSeries(true, "high", 10, 1000).weight, 3);
}

struct FoldCase {
    const char* wordvol;
    const char* testtime;
    int estimate;
    int weight;
    const char* newWordvol;
    const char* newTesttime;
};

class FoldedStatistics : public ::testing::TestWithParam<FoldCase> {};

TEST_P(FoldedStatistics, MeanIsWeightedAndRoundedHalfToEven) {
    const FoldCase& c = GetParam();
    const auto s = foldEstimate(QString::fromLatin1(c.wordvol), QString::fromLatin1(c.testtime),
                                c.estimate, c.weight);
    EXPECT_EQ(s.wordvol, QString::fromLatin1(c.newWordvol));
    EXPECT_EQ(s.testtime, QString::fromLatin1(c.newTesttime));
}

INSTANTIATE_TEST_SUITE_P(Cases, FoldedStatistics,
                         ::testing::Values(FoldCase{"", "", 300, 2, "300", "2"},
                                           FoldCase{"301", "1", 300, 1, "300", "2"},
                                           FoldCase{"303", "1", 300, 1, "302", "2"},
                                           FoldCase{"300", "1", 700, 3, "600", "4"},
                                           FoldCase{"1000", "6", 2000, 2, "1250", "8"},
                                           // A first test beside a stray weight sum.
                                           FoldCase{"", "5", 400, 1, "400", "6"}),
                         [](const auto& info) {
                             return testing_support::caseName(
                                 info.param.wordvol, info.param.testtime, "plus",
                                 info.param.estimate, info.param.weight);
                         });

TEST(FoldedStatistics, NonNumericStoreValueIsAnErrorNamingTheKey) {
    try {
        foldEstimate("abc", "1", 300, 1);
        FAIL() << "no error";
    } catch (const core::Error& e) {
        EXPECT_TRUE(e.message().contains("wordvol")) << e.message().toStdString();
    }
    try {
        foldEstimate("300", "", 300, 1);
        FAIL() << "no error";
    } catch (const core::Error& e) {
        EXPECT_TRUE(e.message().contains("testtime")) << e.message().toStdString();
    }
}

TEST(FoldedStatistics, WeightSumOfMinusTheWeightIsAnErrorNotADivisionByZero) {
    EXPECT_THROW(foldEstimate("300", "-1", 300, 1), core::Error);
}

}  // namespace
