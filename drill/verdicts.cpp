#include "drill/verdicts.h"

#include "core/failure.h"
#include "core/numbers.h"

#include <cmath>

namespace drill {

namespace {

template <size_t N>
std::optional<QString> pick(const VerdictRow (&table)[N], const int (&thresholds)[3],
                            const QString& name, int score) {
    for (const VerdictRow& row : table) {
        if (name == QLatin1String(row.name)) {
            int column = 0;
            while (column < 3 && score <= thresholds[column]) {
                ++column;
            }
            return QString::fromUtf8(row.messages[column]);
        }
    }
    return std::nullopt;
}

double strictStatistic(const QString& text, const char* key) {
    const auto value = core::strictNumber(text);
    if (!value) {
        throw core::Error(QStringLiteral("类型不匹配: 设置 qmword/check/%1 的值 \"%2\" 不是数字")
                              .arg(QLatin1String(key), text));
    }
    return *value;
}

}  // namespace

std::optional<QString> levelVerdict(const QString& plan, int score) {
    return pick(kLevelVerdicts, kLevelThresholds, plan, score);
}

std::optional<QString> examFitVerdict(const QString& testKind, int score) {
    return pick(kExamFitVerdicts, kExamFitThresholds, testKind, score);
}

const VocabularyTest* vocabularyTest(const QString& testKind) {
    for (const VocabularyTest& test : kVocabularyTests) {
        if (testKind == QLatin1String(test.kind)) {
            return &test;
        }
    }
    return nullptr;
}

int vocabularyEstimate(const VocabularyTest& test, int score, double wordCount) {
    for (const EstimateBand& band : test.bands) {
        if (score > band.above) {
            double v = static_cast<double>(score - band.subtrahend) * wordCount;
            v = v * band.factor;
            v = v / test.divisor;
            v = v / 100;
            return static_cast<int>(std::floor(v)) * 100;
        }
    }
    double v = wordCount * score;
    v = v / test.divisor;
    v = v / 100;
    return static_cast<int>(std::floor(v)) * 100;
}

SeriesOutcome judgeSeries(bool isTest, const QString& kindOrPlan, int score, double wordCount) {
    SeriesOutcome outcome;
    if (!isTest) {
        outcome.message = levelVerdict(kindOrPlan, score);
        return outcome;
    }
    if (const VocabularyTest* test = vocabularyTest(kindOrPlan)) {
        const int estimate = vocabularyEstimate(*test, score, wordCount);
        outcome.message = QString::fromUtf8(kEstimatePrefix) + QString::number(estimate);
        outcome.estimate = estimate;
        outcome.weight = test->weight;
        return outcome;
    }
    outcome.message = examFitVerdict(kindOrPlan, score);
    return outcome;
}

Statistics foldEstimate(const QString& wordvol, const QString& testtime, int estimate, int weight) {
    Statistics result;
    // Both use the values as they stood before this test.
    if (wordvol.isEmpty()) {
        result.wordvol = QString::number(estimate);
    } else {
        const double v = strictStatistic(wordvol, "wordvol");
        const double t = strictStatistic(testtime, "testtime");
        if (t + weight == 0) {
            throw core::Error(
                QStringLiteral("除数为零: 设置 qmword/check/testtime 的值 \"%1\"").arg(testtime));
        }
        const double weighted = static_cast<double>(static_cast<long long>(estimate) * weight);
        const double mean = (v * t + weighted) / (t + weight);
        result.wordvol = core::numberText(core::roundHalfEven(mean, 0));
    }
    if (testtime.isEmpty()) {
        result.testtime = QString::number(weight);
    } else {
        result.testtime = core::numberText(strictStatistic(testtime, "testtime") + weight);
    }
    return result;
}

}  // namespace drill
