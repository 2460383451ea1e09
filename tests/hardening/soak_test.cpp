// A soak of scripted answers on the real study window: every plan and test in turn, every way
// of leaving the window, thousands of right and wrong answers. Nothing fails, the files stay
// whole, and the memory in use stays flat. In the sanitizer build the same soak runs under
// AddressSanitizer and LeakSanitizer (a leak fails the run at exit): 10,000 answers in each.
#include "drill/answer_row.h"
#include "drill/study_window.h"
#include "settings/keys.h"
#include "tests/hardening/hardening_support.h"
#include "ui/picture.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <malloc.h>

#include <memory>
#include <random>

#if defined(__SANITIZE_ADDRESS__)
#define QM_SOAK_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_SOAK_UNDER_SANITIZER 1
#endif
#endif

#ifdef QM_SOAK_UNDER_SANITIZER
// The sanitizer's own count of the bytes its allocator has handed out and not taken back.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

namespace keys = settings::keys;

constexpr int kAnswers = 10000;

#ifdef QM_SOAK_UNDER_SANITIZER
size_t bytesInUse() {
    return __sanitizer_get_current_allocated_bytes();
}
#else
size_t bytesInUse() {
    return mallinfo2().uordblks;
}
#endif

/// The plans and tests the soak goes through, a few hundred answers each.
struct Stage {
    const char* activity;
    const char* choice;
};
constexpr Stage kStages[] = {
    {"learn", "600"},  {"learn", "fallible"},  {"learn", "autosmall"}, {"test", "all"},
    {"learn", "1500"}, {"learn", "delete"},    {"test", "cet4"},       {"learn", "automiddle"},
    {"test", "high"},  {"learn", "autolarge"},
};

class Soak : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::installFontSubstitutions();
        owned = hardening::makeInMemory<testing_support::FakeServices>();
        // 3,000 words: every plan's range has words, and the weeding plan can be completed.
        std::vector<words::WordEntry> rows;
        static const char* const prefixes[] = {"n.", "v.", "adj.", "adv.", "prep."};
        for (int i = 1; i <= 3000; ++i) {
            const QString word = QStringLiteral("w%1").arg(i);
            QString gloss = QString::fromLatin1(prefixes[i % 5]) + QStringLiteral("词义%1").arg(i);
            if (i % 17 == 0 && i > 20) {
                gloss = QStringLiteral("v.w%1的过去式").arg(i - 15);
            }
            rows.push_back(testing_support::entry(word, gloss, 3000 + 30 - i));
        }
        fake().folders.writeWordFile(words::kWordFile, rows);
        fake().folders.writeEmptyLists();
        fake().random.fallback = 0.5;
    }

    settings::Store& store() { return fake().folders.store(); }

    void open(const Stage& stage) {
        window.reset();
        fake().navigator.shown.clear();
        fake().navigator.quits = 0;
        store().write(keys::modeWhichone, QString::fromLatin1(stage.activity));
        store().write(QLatin1String(stage.activity) == QLatin1String("test") ? keys::modeTest
                                                                             : keys::modeLearn,
                      QString::fromLatin1(stage.choice));
        window = std::make_unique<Form3>(fake().services());
        window->Form_Load();
        window->Form_Activate();
    }

    /// The window has left by itself: a return to the start window or the end of the program.
    bool windowLeft() const {
        return !fake().navigator.shown.empty() || fake().navigator.quits > 0;
    }

    void answer(bool right) {
        if (window->Text1->text().isEmpty()) {
            // After a verdict, and in a test before its first question: the start picture.
            QTest::mouseClick(window->Image5, Qt::LeftButton);
            return;
        }
        int row = window->mChoiceSlot[0];
        if (!right) {
            row = row == 0 ? 1 : 0;
        }
        drill::AnswerRow* r = window->Option1[static_cast<size_t>(row)];
        QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(8, r->height() / 2));
    }

    std::unique_ptr<testing_support::FakeServices> owned;
    testing_support::FakeServices& fake() const { return *owned; }
    std::unique_ptr<Form3> window;
};

TEST_F(Soak, ThousandsOfAnswersThroughEveryPlanFailNothingAndKeepMemoryFlat) {
    std::mt19937 rng(77);
    // Draws for the generator of the window: varied questions, rows and distractors.
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const auto refill = [&] {
        while (fake().random.script.size() < 20000) {
            fake().random.script.push_back(uniform(rng));
        }
    };
    const int perStage = kAnswers / static_cast<int>(std::size(kStages));
    size_t settled = 0;
    int given = 0;
    int planEnds = 0;
    while (given < kAnswers) {
        const int givenBefore = given;
        for (const Stage& stage : kStages) {
            if (given >= kAnswers) {
                break;
            }
            // The new-word plan needs 21 pending words; before that it is skipped, as the
            // settings window would not offer it.
            if (QLatin1String(stage.choice) == QLatin1String("fallible") &&
                store().number(keys::autoFallible) < 21) {
                continue;
            }
            if (QLatin1String(stage.choice) == QLatin1String("delete")) {
                // Most of the weeding already done: the plan completes within the stage.
                store().write(keys::autoDelete, QStringLiteral("40"));
            }
            open(stage);
            ASSERT_TRUE(fake().failure.messages.isEmpty())
                << stage.choice << ": " << fake().failure.messages.join('\n').toStdString();
            for (int i = 0; i < perStage && given < kAnswers; ++i) {
                refill();
                // Mostly right, so that plans move on (the new-word list runs low within its
                // stage); a wrong answer now and then fills the list and re-deals.
                answer(rng() % 10 != 0);
                ++given;
                ASSERT_TRUE(fake().failure.messages.isEmpty())
                    << stage.choice << " answer " << given << ": "
                    << fake().failure.messages.join('\n').toStdString();
                if (windowLeft()) {
                    // The new-word list ran low or the weeding plan was completed: the
                    // window is gone and the soak goes on with the next stage.
                    ++planEnds;
                    break;
                }
                if (given == kAnswers / 5) {
                    settled = bytesInUse();
                }
            }
            if (!windowLeft()) {
                // Leaving by the exit picture closes the store.
                QTest::mouseClick(window->Image4, Qt::LeftButton);
                ASSERT_TRUE(fake().failure.messages.isEmpty());
            }
        }
        ASSERT_GT(given, givenBefore) << "no stage took an answer";
    }
    window.reset();
    EXPECT_EQ(given, kAnswers);
    EXPECT_GE(store().number(keys::checkLearnedtime), kAnswers / 2);
    EXPECT_TRUE(testing_support::integrityOk(fake().folders.paths.file(words::kWordFile)));
    EXPECT_TRUE(testing_support::integrityOk(fake().folders.paths.file(words::kNewWordFile)));
    RecordProperty("plan_ends", planEnds);
    EXPECT_GE(planEnds, 2) << "the new-word list ran low and the weeding plan completed";

    // Memory in use after all answers, against the same figure a fifth of the way in: the
    // window instances, lists and caches of the answers are given back.
    const size_t end = bytesInUse();
    RecordProperty("bytes_in_use_settled", static_cast<int>(settled));
    RecordProperty("bytes_in_use_end", static_cast<int>(end));
    EXPECT_LT(static_cast<double>(end), static_cast<double>(settled) + 2.0 * 1024 * 1024)
        << "memory in use grew from " << settled << " to " << end << " bytes";
}

}  // namespace
