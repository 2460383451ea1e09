#pragma once

#include <QString>

#include <array>
#include <optional>

// The choices of the settings window: the study plans and test kinds with the values that go
// into the settings store, where their option buttons stand, and the texts of the window.
namespace settings {

/// One option button of a group: its caption, the value stored when it is confirmed, and its
/// top-left corner on its page.
struct PlanOption {
    const char* caption;  // UTF-8
    const char* value;
    int left;
    int top;
};

/// The study plans, by option index; the value goes into `Mode`/`learn`. The values are the
/// study window's tags, not the ends of the ranges in the captions (Band 4 stores "4500").
inline constexpr std::array<PlanOption, 12> kStudyPlans{{
    {"自由学习（粗放型，适合词汇量较大者）", "autolarge", 152, 32},
    {"小学英语（共600词）", "600", 56, 160},
    {"初中英语（共900词，601-1500）", "1500", 56, 200},
    {"高中英语（共1500词，1501-3000）", "3000", 56, 240},
    {"大学四级英语（共3000词，3001-6000）", "4500", 56, 280},
    {"大学六级英语（共2000词，6001-8000）", "5500", 376, 160},
    {"托福/雅思（共1500词，8001-9500）", "7000", 376, 200},
    {"专业英语（共2500词，9501-12000）", "9000", 376, 240},
    {"自由学习（适中型，适合词汇量适中者）", "automiddle", 152, 72},
    {"自由学习（精细型，适合词汇量较小者）", "autosmall", 152, 112},
    {"", "delete", 376, 280},  // captioned by the load
    {"我的生词表", "fallible", 504, 72},
}};

/// The test kinds, by option index; the value goes into `Mode`/`test`.
inline constexpr std::array<PlanOption, 8> kTestKinds{{
    {"词汇量测试（快速）", "all", 104, 88},
    {"中考前测试", "middle", 400, 160},
    {"高考前测试", "senior", 104, 232},
    {"大学英语四级考前测试", "cet4", 400, 232},
    {"大学英语六级考前测试", "cet6", 104, 304},
    {"托福/雅思考前测试", "tofel", 400, 304},
    {"词汇量测试（正常）", "normal", 400, 88},
    {"词汇量测试（精确）", "high", 104, 160},
}};

/// The options selected when the window is built, before the load looks at the store.
inline constexpr int kInitialStudyPlan = 8;  // "automiddle"
inline constexpr int kInitialTestKind = 7;   // "high"

/// The smart plan is built without a caption; the load gives it this one.
inline constexpr int kSmartPlan = 10;
inline constexpr char kSmartPlanCaption[] = "智能型（根据熟悉程度屏蔽已知词汇）";

/// The new-word-list plan can be chosen only while at least this many words are pending
/// (`auto`/`fallible`).
inline constexpr int kNewWordPlan = 11;
inline constexpr double kNewWordListThreshold = 21;

/// Shown in the study record panel when there is nothing to show.
inline constexpr char kNoRecord[] = "暂无记录";

/// The study plan whose stored value is exactly `value` (case-sensitive), if any.
inline std::optional<int> studyPlanIndex(const QString& value) {
    for (int i = 0; i < static_cast<int>(kStudyPlans.size()); ++i) {
        if (value == QLatin1String(kStudyPlans[static_cast<size_t>(i)].value)) {
            return i;
        }
    }
    return std::nullopt;
}

/// The test kind to select for a stored value: its own index, or 0 (the quick vocabulary test)
/// for every text not in the table, the empty text included.
inline int testKindIndex(const QString& value) {
    for (int i = 1; i < static_cast<int>(kTestKinds.size()); ++i) {
        if (value == QLatin1String(kTestKinds[static_cast<size_t>(i)].value)) {
            return i;
        }
    }
    return 0;
}

}  // namespace settings
