#include "drill/answer_rules.h"

#include <cmath>

namespace drill {

AnswerPlan answerPlanOf(const QString& whichone, const QString& plan) {
    if (whichone == QLatin1String("learn")) {
        if (plan == QLatin1String("fallible")) {
            return AnswerPlan::NewWord;
        }
        if (plan == QLatin1String("delete")) {
            return AnswerPlan::Weeding;
        }
    }
    return AnswerPlan::Common;
}

bool holdsSeriesAtZero(const QString& whichone, const QString& plan) {
    if (whichone != QLatin1String("learn")) {
        return false;
    }
    for (const char* p : {"fallible", "delete", "autosmall", "automiddle", "autolarge"}) {
        if (plan == QLatin1String(p)) {
            return true;
        }
    }
    return false;
}

double missedUse(double use) {
    return std::floor(use * kMissUseFactor);
}

bool pauseOver(std::int64_t start, std::int64_t now, std::int64_t pauseMs) {
    // The difference is taken modulo 2^32, as a 32-bit millisecond counter counts, so a
    // wrap-around or a sign change between the two readings does not end or stretch it.
    const auto elapsed = static_cast<std::uint32_t>(static_cast<std::uint64_t>(now) -
                                                    static_cast<std::uint64_t>(start));
    return elapsed >= pauseMs;
}

}  // namespace drill
