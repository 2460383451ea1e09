#include "drill/progress_rules.h"

#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace drill {

namespace {

// Cells lit when the last lit cell is 9 - m: none for m above 9, all ten for m below 1.
int cellsUpToNineMinus(double m) {
    if (!std::isfinite(m)) {
        return 0;
    }
    return static_cast<int>(std::clamp(kBarCells - m, 0.0, static_cast<double>(kBarCells)));
}

}  // namespace

BarRule barRuleForPlan(const QString& plan) {
    if (plan == QLatin1String("delete")) {
        return BarRule::Weeding;
    }
    if (plan == QLatin1String("fallible")) {
        return BarRule::NewWord;
    }
    if (autoPlanSteps(plan) != nullptr) {
        return BarRule::AutoLevel;
    }
    return BarRule::Series;
}

int seriesBarCell(int questionNo, int roundSize) {
    for (int k = 0; k < kBarCells; ++k) {
        if (questionNo > roundSize - k * static_cast<double>(roundSize) / 10 - 1) {
            return kBarCells - 1 - k;
        }
    }
    return -1;
}

int weedingBarCells(double wordsLeft, double wordCount) {
    if (wordCount <= 0) {
        return 0;
    }
    const double quotient = (wordsLeft + 10) / wordCount;
    return cellsUpToNineMinus(std::floor(quotient * 11));
}

int newWordBarCells(double pending, int barBase) {
    if (barBase <= 0) {
        return 0;
    }
    const double quotient = (pending - 20) / barBase;
    return cellsUpToNineMinus(std::floor(quotient * 10));
}

int levelMeterCells(double level) {
    return static_cast<int>(std::clamp(core::roundHalfEven(level, 0), 0.0, 10.0));
}

const AutoPlanSteps* autoPlanSteps(const QString& plan) {
    for (const AutoPlanSteps& steps : kAutoPlans) {
        if (plan == QLatin1String(steps.plan)) {
            return &steps;
        }
    }
    return nullptr;
}

AutoLevelBar stepAutoLevel(AutoLevelState& s, const AutoPlanSteps& steps, double wordCount,
                           int windowStep) {
    AutoLevelBar bar;
    if (s.tries <= 1) {
        if (s.paceCount > s.paceLimit && core::roundHalfEven(s.level, 0) <= 10) {
            s.level = s.level + steps.up;
            s.paceLimit = s.paceLimit + steps.paceRaise;
            if (s.rangeLast <= wordCount - windowStep) {
                s.rangeLast = s.rangeLast + windowStep;
                s.rangeFirst = s.rangeFirst + windowStep;
            } else {
                // At the end of the list the range grows instead of moving.
                s.rangeLast = wordCount;
            }
            s.paceCount = 1;
            s.tries = 1;
        }
    } else {
        if (s.rangeFirst >= windowStep + 1) {
            s.rangeLast = s.rangeLast - windowStep;
            s.rangeFirst = s.rangeFirst - windowStep;
        }
        s.tries = 1;
        s.paceCount = 1;
        if (s.level > steps.down) {
            s.level = s.level - steps.down;
            bar.clearFirst = true;
        }
    }
    // The step down lights 0 .. rounded - 1 after clearing; the final top-up lights the same
    // cells (at most ten), so one count serves both.
    bar.cells = levelMeterCells(s.level);
    return bar;
}

}  // namespace drill
