// The bar at the foot of the study window and the automatic level of the automatic plans.
#include "core/numbers.h"
#include "drill/progress_rules.h"
#include "drill/study_window.h"
#include "settings/keys.h"

namespace keys = settings::keys;

void Form3::ShowProgress() {
    settings::Store& store = mServices.store;
    drill::BarRule rule = drill::BarRule::Series;
    QString plan;
    if (store.read(keys::modeWhichone) == QLatin1String("learn")) {
        plan = store.read(keys::modeLearn);
        rule = drill::barRuleForPlan(plan);
    }
    switch (rule) {
        case drill::BarRule::Series:
            // One cell per call at most, none hidden: the earlier cells of the series stay.
            lightCell(drill::seriesBarCell(mQuestionNo, mRoundSize));
            break;
        case drill::BarRule::Weeding:
            hideAllCells();
            lightCells(drill::weedingBarCells(store.strictNumber(keys::autoDelete), mWordCount));
            break;
        case drill::BarRule::NewWord: {
            hideAllCells();
            const QString pending = store.read(keys::autoFallible);
            if (!pending.isEmpty()) {
                lightCells(drill::newWordBarCells(core::leadingNumber(pending), mListBarBase));
            }
            break;
        }
        case drill::BarRule::AutoLevel: {
            drill::AutoLevelState state{mAutoLevel, mPaceLimit,  mPaceCount,
                                        mTries,     mRangeFirst, mRangeLast};
            const drill::AutoLevelBar bar =
                drill::stepAutoLevel(state, *drill::autoPlanSteps(plan), mWordCount, mWindowStep);
            mAutoLevel = state.level;
            mPaceLimit = state.paceLimit;
            mPaceCount = state.paceCount;
            mTries = state.tries;
            mRangeFirst = state.rangeFirst;
            mRangeLast = state.rangeLast;
            if (bar.clearFirst) {
                hideAllCells();
            }
            lightCells(bar.cells);
            break;
        }
    }
}
