#pragma once

#include <QString>

// The rules behind the ten-cell bar at the foot of the study window and the automatic level
// of the automatic study plans. Cells fill from the left; a rule gives either the one cell
// to light or the number of cells lit from cell 0.

namespace drill {

inline constexpr int kBarCells = 10;

/// Which rule draws the bar.
enum class BarRule {
    Series,    // tests and graded plans: the tenths of the series done
    Weeding,   // weeding plan: the part of the copy already weeded
    NewWord,   // new-word plan: the part of the pending new words already learned
    AutoLevel  // automatic plans: as many cells as the level
};

/// The rule of a study plan (learning only; every test uses the series bar).
BarRule barRuleForPlan(const QString& plan);

/// The cell that the series bar lights at this question number, or -1 for none. It never
/// hides a cell: the cells of earlier calls stay lit.
int seriesBarCell(int questionNo, int roundSize);

/// Cells lit by the weeding bar with `wordsLeft` still to weed out of `wordCount`.
/// An empty copy (no word count) shows an empty bar.
int weedingBarCells(double wordsLeft, double wordCount);

/// Cells lit by the new-word bar with `pending` new words and the bar base of the load
/// (pending words at load minus 20). A base of 0 or less gives no scale: the bar stays
/// empty. A pending count at or below 20 with a proper base shows the bar full.
int newWordBarCells(double pending, int barBase);

/// Cells lit by an automatic level: the level rounded (halves to even), within 0..10.
int levelMeterCells(double level);

/// The steps of an automatic plan: up U, pace-limit increase T, down D.
struct AutoPlanSteps {
    const char* plan;
    double up;
    double paceRaise;
    double down;
};

inline constexpr AutoPlanSteps kAutoPlans[] = {
    {"autolarge", 0.49, 0.2, 0.5},
    {"automiddle", 0.2, 0.15, 0.2},
    {"autosmall", 0.05, 0.1, 0.05},
};

/// The steps of an automatic plan, or null for any other plan.
const AutoPlanSteps* autoPlanSteps(const QString& plan);

/// The window fields that one level decision reads and changes.
struct AutoLevelState {
    double level = 0;
    double paceLimit = 0;
    int paceCount = 1;
    int tries = 1;
    double rangeFirst = 1;
    double rangeLast = 1;
};

/// What the level meter does after a decision: hide every cell first (after a step down),
/// then light cells 0 to `cells` - 1 without hiding any.
struct AutoLevelBar {
    bool clearFirst = false;
    int cells = 0;
};

/// One level decision, taken on every driver call of an automatic plan. With no miss since
/// the last restart and the pace count above the pace limit, the level rises (while it is at
/// most 10 when rounded) and the range moves one window up; after a miss the range moves one
/// window down, the level falls when it is above D, and the counts restart.
AutoLevelBar stepAutoLevel(AutoLevelState& state, const AutoPlanSteps& steps, double wordCount,
                           int windowStep);

}  // namespace drill
