#pragma once

#include <QString>

#include <cstdint>

// The rules of judging an answer in the study window, apart from the window itself.

namespace drill {

/// qmuse + 5 on the main list after a right answer.
inline constexpr double kRightUseBonus = 5;
/// qmuse = floor(qmuse x 0.4) on the main list after a miss.
inline constexpr double kMissUseFactor = 0.4;
/// qmdelete + 2 after a miss: a found list row, the new-word plan's row, the weeding row.
inline constexpr double kMissDifficultyStep = 2;
/// qmdelete of a row newly put on the new-word list.
inline constexpr double kNewEntryDifficulty = 15;
/// A weeding word retires when its qmdelete falls below this.
inline constexpr double kWeedRetireBelow = 10;
/// A new-word list row retires when its qmdelete falls below this.
inline constexpr double kListRetireBelow = 9;
/// The weeding plan is complete when auto/delete falls below this.
inline constexpr double kWeedCompleteBelow = 4;
/// The new-word plan ends when auto/fallible falls below this.
inline constexpr double kNewWordListThreshold = 21;
/// The pause after a right answer.
inline constexpr std::int64_t kAnswerPauseMs = 1000;

inline constexpr char kWeedingCompleteMessage[] =
    "您已经学完全部词汇，现在重置数据，建议采用Quillmoor英语学习软件进一步学习";
inline constexpr char kNewWordsLearnedMessage[] = "您已经学完全部生词，请选择其它方式学习";
/// Spoken after a wrong answer.
inline constexpr char kMissSound[] = "oh";
/// The plan stored when the new-word list runs low.
inline constexpr char kFallbackPlan[] = "autosmall";

/// The three groups the answer handler tells apart.
enum class AnswerPlan {
    NewWord,  // learning, plan "fallible": questions from the new-word list
    Weeding,  // learning, plan "delete": questions from the weeding copy
    Common    // every test, the graded and the automatic plans: the word table
};

AnswerPlan answerPlanOf(const QString& whichone, const QString& plan);

/// True for the plans without a series end (new-word, weeding and automatic plans): the
/// question number is held at 0 after every right answer.
bool holdsSeriesAtZero(const QString& whichone, const QString& plan);

/// The ordering value of a word after a miss.
double missedUse(double use);

/// True once `pauseMs` have passed from `start` to `now` on a millisecond counter that may
/// wrap around at 32 bits (or change sign) during the pause.
bool pauseOver(std::int64_t start, std::int64_t now, std::int64_t pauseMs = kAnswerPauseMs);

}  // namespace drill
