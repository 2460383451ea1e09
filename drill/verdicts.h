#pragma once

#include <QString>

#include <optional>
#include <span>

// The messages that end a series and the vocabulary estimate of the vocabulary-size tests.
// Every table here is tried from the left: the first threshold that the score exceeds picks
// the message or band; a score at or below every threshold takes the last one.

namespace drill {

/// One row of a verdict table: the plan or test kind and its four messages, best first.
struct VerdictRow {
    const char* name;
    const char* messages[4];
};

/// Score thresholds of the level verdicts (graded study plans) and the exam-fit verdicts
/// (pre-exam tests), one fewer than the messages.
inline constexpr int kLevelThresholds[3] = {46, 34, 20};
inline constexpr int kExamFitThresholds[3] = {44, 34, 20};

inline constexpr char kTryHarder[] = "不好意思，您恐怕要加倍努力才行";
inline constexpr char kNextLevel[] = "您可以选择下一级进行学习";

inline constexpr VerdictRow kLevelVerdicts[] = {
    {"600",
     {kNextLevel, "您的水平符合小学英语要求，可继续学习", "您的水平符合小学英语要求，但要加强学习",
      kTryHarder}},
    {"1500",
     {kNextLevel, "您的水平符合初中英语要求，可继续学习", "您的水平符合初中英语要求，但要加强学习",
      kTryHarder}},
    {"3000",
     {kNextLevel, "您的水平符合高中英语要求，可继续学习", "您的水平符合高中英语要求，但要加强学习",
      kTryHarder}},
    {"4500",
     {kNextLevel, "您的水平符合大学四级英语要求，可继续学习",
      "您的水平符合大学四级英语要求，但要加强学习", kTryHarder}},
    {"5500",
     {kNextLevel, "您的水平符合大学六级英语要求，可继续学习",
      "您的水平符合大学六级英语要求，但要加强学习", kTryHarder}},
    {"7000",
     {kNextLevel, "您的水平符合托福/雅思英语要求，可继续学习",
      "您的水平符合托福/雅思英语要求，但要加强学习", kTryHarder}},
    {"9000",
     {"您已学完软件所有内容，建议使用Quillmoor英语学习软件学习",
      "您的水平符合专业英语要求，可继续学习", "您的水平符合专业英语要求，但要加强学习",
      kTryHarder}},
};

inline constexpr VerdictRow kExamFitVerdicts[] = {
    {"middle",
     {"您的英语词汇量完全符合中考要求", "您的英语词汇量基本符合中考要求",
      "您的英语词汇量不太符合中考要求，要努力", "不好意思，您的英语词汇量不符合中考要求"}},
    {"senior",
     {"您的英语词汇量完全符合高考要求", "您的英语词汇量基本符合高考要求",
      "您的英语词汇量不太符合高考要求，要努力", "不好意思，您的英语词汇量不符合高考要求"}},
    {"cet4",
     {"您的英语词汇量完全符合大学英语四级考试要求", "您的英语词汇量基本符合大学英语四级考试要求",
      "您的英语词汇量不太符合大学英语四级考试要求，要努力",
      "不好意思，您的英语词汇量不符合大学英语四级考试要求"}},
    {"cet6",
     {"您的英语词汇量完全符合大学英语六级考试要求", "您的英语词汇量基本符合大学英语六级考试要求",
      "您的英语词汇量不太符合大学英语六级考试要求，要努力",
      "不好意思，您的英语词汇量不符合大学英语六级考试要求"}},
    {"tofel",
     {"您的英语词汇量相当大，建议使用Quillmoor英语学习软件学习",
      "您的英语词汇量基本符合托福/雅思考试要求", "您的英语词汇量不太符合托福/雅思考试要求，要努力",
      "不好意思，您的英语词汇量不符托福/雅思考试要求"}},
};

/// One band of a vocabulary-size test: a score above `above` subtracts `subtrahend` and
/// scales by `factor`.
struct EstimateBand {
    int above;
    int subtrahend;
    double factor;
};

inline constexpr EstimateBand kAllBands[] = {{45, 8, 0.45}, {40, 7, 0.4}, {35, 6, 0.45},
                                             {30, 5, 0.5},  {20, 4, 0.6}, {10, 3, 0.7},
                                             {5, 2, 0.8},   {2, 1, 0.9}};
inline constexpr EstimateBand kNormalBands[] = {{80, 12, 0.4}, {60, 10, 0.5}, {40, 8, 0.6},
                                                {20, 6, 0.7},  {10, 4, 0.8},  {4, 2, 0.9}};
inline constexpr EstimateBand kHighBands[] = {{160, 24, 0.4}, {120, 20, 0.5}, {80, 16, 0.6},
                                              {40, 12, 0.7},  {20, 8, 0.8},   {8, 4, 0.9}};

/// A vocabulary-size test: its series size as divisor, its weight in the running mean of the
/// estimates, and its bands. A score at or below the last band counts whole, unscaled.
struct VocabularyTest {
    const char* kind;
    int divisor;
    int weight;
    std::span<const EstimateBand> bands;
};

inline constexpr VocabularyTest kVocabularyTests[] = {
    {"all", 50, 1, kAllBands},
    {"normal", 100, 2, kNormalBands},
    {"high", 200, 3, kHighBands},
};

/// Text before the estimate in the message label.
inline constexpr char kEstimatePrefix[] = "您的英语词汇量约为";

/// The level verdict of a graded study plan, nothing for any other plan.
std::optional<QString> levelVerdict(const QString& plan, int score);

/// The exam-fit verdict of a pre-exam test, nothing for any other test kind.
std::optional<QString> examFitVerdict(const QString& testKind, int score);

/// The vocabulary-size test of this kind, or null.
const VocabularyTest* vocabularyTest(const QString& testKind);

/// The estimated vocabulary after a score in the test, W words in play: always a multiple
/// of 100, computed in double precision in the order (s - k) x W x f / N / 100.
int vocabularyEstimate(const VocabularyTest& test, int score, double wordCount);

/// What a finished series shows and whether it yields an estimate to fold into the
/// statistics.
struct SeriesOutcome {
    std::optional<QString> message;
    std::optional<int> estimate;  // vocabulary-size tests only
    int weight = 0;               // of that test
};

/// The outcome of a series: `isTest` with the test kind, else the study plan.
SeriesOutcome judgeSeries(bool isTest, const QString& kindOrPlan, int score, double wordCount);

/// The two statistics of the vocabulary-size tests, as stored texts.
struct Statistics {
    QString wordvol;
    QString testtime;
};

/// Folds a new estimate of weight w into the stored mean and weight sum (both texts as
/// stored; empty until the first test). The mean is rounded to a whole number, halves to
/// even. A stored value that is not a number is an error naming its key.
Statistics foldEstimate(const QString& wordvol, const QString& testtime, int estimate, int weight);

}  // namespace drill
