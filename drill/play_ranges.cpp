#include "drill/play_ranges.h"

#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace drill {

namespace {

struct FixedRange {
    const char* name;
    double first;
    double last;  // 0: the whole table
};

constexpr FixedRange kTestRanges[] = {
    {"all", 1, 0},          {"normal", 1, 0},     {"high", 1, 0},       {"middle", 601, 1500},
    {"senior", 1501, 3000}, {"cet4", 3001, 6000}, {"cet6", 6001, 8000}, {"tofel", 8001, 9500},
};

constexpr FixedRange kGradedRanges[] = {
    {"600", 1, 600},      {"1500", 601, 1500},  {"3000", 1501, 3000},  {"4500", 3001, 6000},
    {"5500", 6001, 8000}, {"7000", 8001, 9500}, {"9000", 9501, 12000},
};

struct AutomaticPlan {
    const char* name;
    int divisor;
};

constexpr AutomaticPlan kAutomaticPlans[] = {
    {"autolarge", 20}, {"automiddle", 50}, {"autosmall", 200}};

}  // namespace

std::optional<PlayRange> testRange(const QString& testKind, double wordCount) {
    for (const FixedRange& r : kTestRanges) {
        if (testKind == QLatin1String(r.name)) {
            return PlayRange{r.first, r.last == 0 ? wordCount : r.last};
        }
    }
    return std::nullopt;
}

std::optional<PlayRange> gradedRange(const QString& plan) {
    for (const FixedRange& r : kGradedRanges) {
        if (plan == QLatin1String(r.name)) {
            return PlayRange{r.first, r.last};
        }
    }
    return std::nullopt;
}

std::optional<int> windowStep(const QString& plan, double wordCount) {
    for (const AutomaticPlan& p : kAutomaticPlans) {
        if (plan == QLatin1String(p.name)) {
            return static_cast<int>(std::floor(wordCount / p.divisor));
        }
    }
    return std::nullopt;
}

double clampLevel(double level) {
    return std::clamp(level, 0.0, 10.0);
}

PlayRange automaticRange(double level, double wordCount, int step) {
    const double start = wordCount * level / 10;
    return PlayRange{std::max(start, 1.0), start + step};
}

double savedLevel(double level) {
    return core::roundHalfEven(clampLevel(level), 3);
}

int levelCells(double level) {
    return static_cast<int>(core::roundHalfEven(level));
}

int seriesSize(bool isTest, const QString& testKind) {
    if (isTest && testKind == QLatin1String("normal")) {
        return 100;
    }
    if (isTest && testKind == QLatin1String("high")) {
        return 200;
    }
    return 50;
}

double paceLimit(const QString& gradeText) {
    return 39 - 3 * core::leadingNumber(gradeText);
}

std::optional<PlayRange> rangeOnRows(const PlayRange& range, int rows) {
    if (rows < 1 || std::floor(range.first) > rows) {
        return std::nullopt;
    }
    return PlayRange{range.first, std::min(range.last, static_cast<double>(rows))};
}

int questionPosition(const PlayRange& onRows, int rows, double r) {
    const double pos = std::floor((onRows.last - onRows.first + 1) * r + onRows.first);
    // On a range that rangeOnRows gave, the formula already stays on the rows; the clamp is
    // the last guard.
    return static_cast<int>(std::clamp(pos, 1.0, static_cast<double>(std::max(rows, 1))));
}

int distractorPosition(double n, int rows, double r) {
    const double pos = std::floor(r * n + 1);
    return static_cast<int>(std::clamp(pos, 1.0, static_cast<double>(std::max(rows, 1))));
}

}  // namespace drill
