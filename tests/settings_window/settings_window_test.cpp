// The settings window's behaviour: what it shows from the store, and what it stores.
#include "settings_window_fixture.h"
#include "tests/support/case_names.h"

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QStyle>

namespace settings_window_test {
namespace {

namespace keys = settings::keys;
using settings::kStudyPlans;
using settings::kTestKinds;

const QString kNoRecord = QStringLiteral("暂无记录");

// ---- Opening tab and the new-word-list threshold ----------------------------------------------

struct OpeningTabCase {
    const char* whichone;
    int tab;
};

class OpeningTab : public SettingsWindow, public ::testing::WithParamInterface<OpeningTabCase> {};

TEST_P(OpeningTab, OnlyTheExactTextTestOpensTheTestTab) {
    if (GetParam().whichone) {
        given(keys::modeWhichone, QString::fromUtf8(GetParam().whichone));
    }
    auto w = open();
    EXPECT_EQ(w->SSTab1->currentIndex(), GetParam().tab);
    EXPECT_EQ(w->Frame2->isVisible(), GetParam().tab == Form2::kTestTab);
    EXPECT_EQ(w->Frame3->isVisible(), GetParam().tab == Form2::kStudyTab);
}

INSTANTIATE_TEST_SUITE_P(Whichone, OpeningTab,
                         ::testing::Values(OpeningTabCase{nullptr, Form2::kStudyTab},
                                           OpeningTabCase{"", Form2::kStudyTab},
                                           OpeningTabCase{"learn", Form2::kStudyTab},
                                           OpeningTabCase{"Test", Form2::kStudyTab},
                                           OpeningTabCase{"test ", Form2::kStudyTab},
                                           OpeningTabCase{"test", Form2::kTestTab}),
                         [](const auto& info) {
                             return testing_support::caseName(info.param.whichone);
                         });

struct ThresholdCase {
    const char* pending;  // auto/fallible
    bool enabled;
};

class NewWordPlanThreshold : public SettingsWindow,
                             public ::testing::WithParamInterface<ThresholdCase> {};

TEST_P(NewWordPlanThreshold, PlanIsOfferedFromTwentyOnePendingWords) {
    given(keys::autoFallible, QString::fromUtf8(GetParam().pending));
    for (const char* whichone : {"learn", "test"}) {
        SCOPED_TRACE(whichone);
        given(keys::modeWhichone, QString::fromUtf8(whichone));
        auto w = open();
        EXPECT_EQ(w->Option1[settings::kNewWordPlan]->isEnabled(), GetParam().enabled);
        // What the learner sees: the caption in the window's light cyan while the plan can be
        // chosen, in grey while it cannot (blended into the background at the glyphs' edges).
        QRadioButton* plan = w->Option1[settings::kNewWordPlan];
        const QImage drawn = plan->grab().toImage();
        const int captionLeft = plan->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                plan->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
        int lightCyan = 0, grey = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = captionLeft; x < drawn.width(); ++x) {
                const QColor c = drawn.pixelColor(x, y);
                lightCyan += c.green() > 215 && c.green() - c.red() > 30;
                grey += c.red() > 120 && c.green() < 215;
            }
        }
        EXPECT_EQ(lightCyan > 0, GetParam().enabled) << lightCyan;
        EXPECT_EQ(grey > 0, !GetParam().enabled) << grey;
        for (size_t i = 0; i < kStudyPlans.size(); ++i) {
            if (i != settings::kNewWordPlan) {
                EXPECT_TRUE(w->Option1[i]->isEnabled()) << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pending, NewWordPlanThreshold,
                         ::testing::Values(ThresholdCase{"", false}, ThresholdCase{"20", false},
                                           ThresholdCase{"20.5", false},
                                           ThresholdCase{"abc", false}, ThresholdCase{"21", true},
                                           ThresholdCase{"21 words", true},
                                           ThresholdCase{"400", true}),
                         [](const auto& info) {
                             return testing_support::caseName("pending", info.param.pending);
                         });

TEST_F(SettingsWindow, LoadCaptionsTheSmartPlan) {
    Form2 w(services());
    EXPECT_EQ(w.Option1[settings::kSmartPlan]->text(), QString());
    w.Form_Load();
    EXPECT_EQ(w.Option1[settings::kSmartPlan]->text(),
              QStringLiteral("智能型（根据熟悉程度屏蔽已知词汇）"));
}

// ---- Study record panel -----------------------------------------------------------------------

struct RecordCase {
    const char* added;       // check/fallible
    const char* pending;     // auto/fallible
    const char* practice;    // check/learnedtime
    const char* vocabulary;  // check/wordvol
    const char* label1;
    const char* label2;
    const char* label3;
};

class RecordPanel : public SettingsWindow, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordPanel, ShowsTheStoredStatisticsOrNoRecord) {
    const RecordCase& c = GetParam();
    given(keys::checkFallible, QString::fromUtf8(c.added));
    given(keys::autoFallible, QString::fromUtf8(c.pending));
    given(keys::checkLearnedtime, QString::fromUtf8(c.practice));
    given(keys::checkWordvol, QString::fromUtf8(c.vocabulary));
    auto w = open();
    EXPECT_EQ(w->Label1->text(), QString::fromUtf8(c.label1));
    EXPECT_EQ(w->Label2->text(), QString::fromUtf8(c.label2));
    EXPECT_EQ(w->Label3->text(), QString::fromUtf8(c.label3));
}

INSTANTIATE_TEST_SUITE_P(
    Statistics, RecordPanel,
    ::testing::Values(RecordCase{"30", "25", "17", "4120", "4120", "17", "5"},
                      RecordCase{"25", "25", "", "", "暂无记录", "暂无记录", "暂无记录"},
                      RecordCase{"", "3", "0", "0", "0", "0", "暂无记录"},
                      RecordCase{"10", "25", "x", " ", " ", "x", "暂无记录"},
                      RecordCase{"30.5", "25", "3", "2345.678", "2345.678", "3", "5.5"},
                      RecordCase{"40", "", "", "", "暂无记录", "暂无记录", "40"}),
    [](const auto& info) {
        const RecordCase& c = info.param;
        return testing_support::caseName(c.added, c.pending, c.practice, c.vocabulary);
    });

TEST_F(SettingsWindow, RecordPanelIsFilledWhenTheStudyTabComesOnView) {
    given(keys::modeWhichone, QStringLiteral("test"));
    given(keys::checkLearnedtime, QStringLiteral("9"));
    auto w = open();
    EXPECT_EQ(w->Label2->text(), QString());
    clickTab(*w, Form2::kStudyTab);
    EXPECT_EQ(w->SSTab1->currentIndex(), Form2::kStudyTab);
    EXPECT_EQ(w->Label2->text(), QStringLiteral("9"));
    EXPECT_EQ(w->Label1->text(), kNoRecord);
}

// ---- Saved choices and the OK buttons -----------------------------------------------------

class SavedPlan : public SettingsWindow, public ::testing::WithParamInterface<int> {};

TEST_P(SavedPlan, IsSelectedAndStoredAgainOnConfirming) {
    const settings::PlanOption& plan = kStudyPlans[static_cast<size_t>(GetParam())];
    given(keys::autoFallible, QStringLiteral("50"));
    given(keys::modeLearn, QString::fromLatin1(plan.value));
    auto w = open();
    EXPECT_EQ(checkedIndex(w->Option1), GetParam());
    click(w->Image3);
    EXPECT_EQ(stored(keys::modeLearn), QString::fromLatin1(plan.value));
    EXPECT_EQ(stored(keys::modeWhichone), QStringLiteral("learn"));
}

INSTANTIATE_TEST_SUITE_P(EveryPlan, SavedPlan, ::testing::Range(0, 12), [](const auto& info) {
    return testing_support::caseName("plan", kStudyPlans[static_cast<size_t>(info.param)].value);
});

TEST_F(SettingsWindow, UnknownSavedPlanLeavesTheModeratePlanSelected) {
    for (const char* saved : {"", "Autolarge", "autolarge ", "600.0", "bogus"}) {
        SCOPED_TRACE(saved);
        given(keys::modeLearn, QString::fromUtf8(saved));
        auto w = open();
        EXPECT_EQ(checkedIndex(w->Option1), settings::kInitialStudyPlan);
        click(w->Image3);
        EXPECT_EQ(stored(keys::modeLearn), QStringLiteral("automiddle"));
    }
}

TEST_F(SettingsWindow, SavedNewWordPlanStaysSelectedWhileDisabled) {
    given(keys::autoFallible, QStringLiteral("4"));
    given(keys::modeLearn, QStringLiteral("fallible"));
    auto w = open();
    QRadioButton* newWords = w->Option1[settings::kNewWordPlan];
    EXPECT_FALSE(newWords->isEnabled());
    EXPECT_TRUE(newWords->isChecked());
    EXPECT_EQ(checkedIndex(w->Option1), settings::kNewWordPlan);
    click(w->Image3);
    EXPECT_EQ(stored(keys::modeLearn), QStringLiteral("fallible"));
}

class SavedTestKind : public SettingsWindow, public ::testing::WithParamInterface<int> {};

TEST_P(SavedTestKind, IsSelectedAndStoredAgainOnConfirming) {
    const settings::PlanOption& kind = kTestKinds[static_cast<size_t>(GetParam())];
    given(keys::modeWhichone, QStringLiteral("test"));
    given(keys::modeTest, QString::fromLatin1(kind.value));
    auto w = open();
    EXPECT_EQ(checkedIndex(w->Option2), GetParam());
    click(w->Image4);
    EXPECT_EQ(stored(keys::modeTest), QString::fromLatin1(kind.value));
    EXPECT_EQ(stored(keys::modeWhichone), QStringLiteral("test"));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SavedTestKind, ::testing::Range(0, 8), [](const auto& info) {
    return testing_support::caseName(kTestKinds[static_cast<size_t>(info.param)].value);
});

TEST_F(SettingsWindow, UnknownSavedTestKindSelectsTheQuickTest) {
    for (const char* saved : {"", "High", "cet 4", "toefl", "bogus"}) {
        SCOPED_TRACE(saved);
        given(keys::modeWhichone, QStringLiteral("test"));
        given(keys::modeTest, QString::fromUtf8(saved));
        auto w = open();
        EXPECT_EQ(checkedIndex(w->Option2), 0);
        click(w->Image4);
        EXPECT_EQ(stored(keys::modeTest), QStringLiteral("all"));
    }
}

TEST_F(SettingsWindow, TheTestTabIsSetFromTheStoreWhenItComesOnView) {
    // The Study tab opens; the built-in "high" gives way to the saved kind on the tab change.
    given(keys::modeTest, QStringLiteral("cet6"));
    auto w = open();
    EXPECT_EQ(checkedIndex(w->Option2), settings::kInitialTestKind);
    clickTab(*w, Form2::kTestTab);
    EXPECT_EQ(checkedIndex(w->Option2), 4);
}

TEST_F(SettingsWindow, PickIsLostOnSwitchingTabsAndBack) {
    given(keys::modeLearn, QStringLiteral("600"));
    given(keys::modeTest, QStringLiteral("cet4"));
    auto w = open();
    clickOption(w->Option1[3]);
    ASSERT_EQ(checkedIndex(w->Option1), 3);
    clickTab(*w, Form2::kTestTab);
    clickOption(w->Option2[5]);
    ASSERT_EQ(checkedIndex(w->Option2), 5);
    clickTab(*w, Form2::kStudyTab);
    EXPECT_EQ(checkedIndex(w->Option1), 1);
    clickTab(*w, Form2::kTestTab);
    EXPECT_EQ(checkedIndex(w->Option2), 3);
}

TEST_F(SettingsWindow, PickRemainsOnSwitchingTabsWhenTheSavedPlanIsUnknown) {
    given(keys::modeLearn, QStringLiteral("Autosmall"));
    auto w = open();
    clickOption(w->Option1[6]);
    clickTab(*w, Form2::kTestTab);
    clickTab(*w, Form2::kStudyTab);
    EXPECT_EQ(checkedIndex(w->Option1), 6);
    click(w->Image3);
    EXPECT_EQ(stored(keys::modeLearn), QStringLiteral("7000"));
}

struct ConfirmCase {
    int tab;
    const char* choiceKey;
    const char* activity;
};

class Confirming : public SettingsWindow, public ::testing::WithParamInterface<ConfirmCase> {
  protected:
    ui::Picture* okOf(Form2& w) { return GetParam().tab == Form2::kStudyTab ? w.Image3 : w.Image4; }
};

TEST_P(Confirming, WritesTwoKeysThenOpensTheStudyWindowThenCloses) {
    given(keys::modeWhichone,
          GetParam().tab == Form2::kTestTab ? QStringLiteral("test") : QStringLiteral("learn"));
    given(keys::modeLearn, QStringLiteral("3000"));
    given(keys::modeTest, QStringLiteral("senior"));
    auto w = open();
    ASSERT_TRUE(w->isVisible());
    store.writes.clear();

    bool visibleAtShow = false;
    size_t writesAtShow = 0;
    navigator.onShow = [&](core::WindowKind) {
        visibleAtShow = w->isVisible();
        writesAtShow = store.writes.size();
    };
    click(okOf(*w));

    ASSERT_EQ(store.writes.size(), 2u);
    EXPECT_EQ(store.writes[0].key, QString::fromLatin1(GetParam().choiceKey));
    EXPECT_EQ(store.writes[1].key, QStringLiteral("Mode/whichone"));
    EXPECT_EQ(store.writes[1].value, QString::fromLatin1(GetParam().activity));
    ASSERT_EQ(navigator.shown.size(), 1u);
    EXPECT_EQ(navigator.shown[0], core::WindowKind::Study);
    // The study window is asked for after both writes, while this window still stands.
    EXPECT_EQ(writesAtShow, 2u);
    EXPECT_TRUE(visibleAtShow);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(fakes.failure.messages.isEmpty());
}

TEST_P(Confirming, ReleasesTheWindowAsTheProgramMakesIt) {
    QPointer<Form2> w = new Form2(services());
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->SSTab1->setCurrentIndex(GetParam().tab);
    w->show();
    w->SSTab1->setCurrentIndex(GetParam().tab);
    click(okOf(*w));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(navigator.shown.size(), 1u);
}

TEST_P(Confirming, AFailedWriteStopsBeforeTheStudyWindow) {
    auto w = open();
    w->SSTab1->setCurrentIndex(GetParam().tab);
    store.failWrites = true;
    click(okOf(*w));
    EXPECT_EQ(fakes.failure.messages.size(), 1);
    EXPECT_TRUE(navigator.shown.empty());
    EXPECT_TRUE(w->isVisible());
}

INSTANTIATE_TEST_SUITE_P(BothTabs, Confirming,
                         ::testing::Values(ConfirmCase{Form2::kStudyTab, "Mode/learn", "learn"},
                                           ConfirmCase{Form2::kTestTab, "Mode/test", "test"}),
                         [](const auto& info) {
                             return testing_support::caseName(info.param.activity);
                         });

TEST_F(SettingsWindow, OpeningWritesNothing) {
    given(keys::modeWhichone, QStringLiteral("test"));
    auto w = open();
    clickTab(*w, Form2::kStudyTab);
    clickTab(*w, Form2::kTestTab);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_TRUE(navigator.shown.empty());
}

TEST_F(SettingsWindow, AFailedReadAtLoadGoesToTheFailurePath) {
    store.failReads = true;
    auto w = open();
    EXPECT_FALSE(fakes.failure.messages.isEmpty());
    EXPECT_TRUE(fakes.failure.messages.front().contains(QStringLiteral("Mode/whichone")));
    EXPECT_TRUE(navigator.shown.empty());
}

// ---- Hover looks --------------------------------------------------------------------------

class HoverLook : public SettingsWindow, public ::testing::WithParamInterface<int> {};

TEST_P(HoverLook, StaysUntilThePointerCrossesThePageBackground) {
    const bool study = GetParam() == Form2::kStudyTab;
    auto w = open();
    w->SSTab1->setCurrentIndex(GetParam());
    ui::Picture* ok = study ? w->Image3 : w->Image4;
    ui::Picture* background = study ? w->Image2 : w->Image1;
    QWidget* option = study ? static_cast<QWidget*>(w->Option1[1]) : w->Option2[2];

    QTest::mouseMove(ok, QPoint(20, 10));
    EXPECT_EQ(ok->look(), QStringLiteral("ok light"));
    EXPECT_EQ(ok->size(), QSize(52, 21));
    EXPECT_EQ(ok->pos(), study ? QPoint(344, 336) : QPoint(360, 400));

    // Over an option button, the record panel, the page's margin, the tab row or the window's
    // own ground nothing changes.
    QTest::mouseMove(option, QPoint(8, option->height() / 2));
    if (study) {
        QTest::mouseMove(w->Picture1, QPoint(100, 60));
        QTest::mouseMove(w->Label3, QPoint(10, 10));
    }
    QTest::mouseMove(study ? w->Frame3 : w->Frame2, QPoint(3, 3));
    QTest::mouseMove(w->SSTab1->tabBar(), QPoint(300, 10));
    QTest::mouseMove(w.get(), QPoint(3, 3));
    EXPECT_EQ(ok->look(), QStringLiteral("ok light"));

    QTest::mouseMove(background, QPoint(20, 10));
    EXPECT_EQ(ok->look(), QStringLiteral("ok dark"));
    EXPECT_EQ(ok->size(), QSize(54, 21));

    // Every move sets the look anew.
    QTest::mouseMove(ok, QPoint(20, 12));
    QTest::mouseMove(ok, QPoint(21, 12));
    EXPECT_EQ(ok->look(), QStringLiteral("ok light"));
}

INSTANTIATE_TEST_SUITE_P(BothTabs, HoverLook, ::testing::Values(Form2::kStudyTab, Form2::kTestTab),
                         [](const auto& info) {
                             return std::string(info.param == Form2::kStudyTab ? "StudyTab"
                                                                               : "TestTab");
                         });

}  // namespace
}  // namespace settings_window_test
