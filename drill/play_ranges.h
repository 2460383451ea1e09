#pragma once

#include <QString>

#include <optional>

// Where the study window draws its question words from, and the numbers set up with a plan.
// Positions are 1-based rows in the order of the list the plan reads.
namespace drill {

struct PlayRange {
    double first = 0;
    double last = 0;
};

/// The range of a test kind; W = the words of the table. Nothing for an unknown kind.
std::optional<PlayRange> testRange(const QString& testKind, double wordCount);

/// The fixed range of a graded study plan ("600" to "9000"). Nothing for any other plan.
std::optional<PlayRange> gradedRange(const QString& plan);

/// The window step of an automatic plan: W / 20, / 50, / 200 rounded down. Nothing for any
/// other plan.
std::optional<int> windowStep(const QString& plan, double wordCount);

/// A stored automatic level clamped to 0..10.
double clampLevel(double level);

/// The range of an automatic plan at a level: W x level / 10 (not below 1) to that + step.
PlayRange automaticRange(double level, double wordCount, int step);

/// The level as stored on leaving: clamped to 0..10, rounded to 3 decimals, halves to even.
double savedLevel(double level);

/// Cells of the level meter: the level rounded, halves to even (not clamped).
int levelCells(double level);

/// Series size of an activity: 100 for the test "normal", 200 for "high", else 50.
int seriesSize(bool isTest, const QString& testKind);

/// Questions per level step of a speed-grade text: 39 - 3 x its leading number.
double paceLimit(const QString& gradeText);

/// The play range as far as it lies on the list's rows: its last position at most the row
/// count. Nothing when the list is empty or the range starts past its last row. A range whose
/// last position lies before its first (an automatic window of 0 words) is kept: the draw
/// formula then gives its first position.
std::optional<PlayRange> rangeOnRows(const PlayRange& range, int rows);

/// The question word's position: floor((last - first + 1) x r + first), kept on 1..rows.
int questionPosition(const PlayRange& onRows, int rows, double r);

/// A distractor's position among the first n rows: int(r x n + 1), kept on 1..rows.
int distractorPosition(double n, int rows, double r);

}  // namespace drill
