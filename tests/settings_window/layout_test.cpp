// The window's layout as the learner sees it: sizes, positions, captions, fonts, colours, and
// grabs of both tabs.
#include "settings_window_fixture.h"

#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLabel>

namespace settings_window_test {
namespace {

using settings::kStudyPlans;
using settings::kTestKinds;

TEST_F(SettingsWindow, WindowAndTabControlStandWhereTheyShould) {
    auto w = open();
    EXPECT_EQ(w->size(), QSize(800, 600));
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_EQ(w->palette().color(QPalette::Window), QColor(0, 192, 192));
    EXPECT_EQ(w->Frame1->geometry(), QRect(8, 8, 777, 585));
    EXPECT_EQ(w->SSTab1->geometry(), QRect(24, 32, 745, 536));

    QTabBar* bar = w->SSTab1->tabBar();
    ASSERT_EQ(bar->count(), 2);
    EXPECT_EQ(bar->tabText(Form2::kTestTab), QStringLiteral("测试"));
    EXPECT_EQ(bar->tabText(Form2::kStudyTab), QStringLiteral("学习"));
    EXPECT_EQ(bar->font().pointSizeF(), 10.5);
    EXPECT_TRUE(bar->font().bold());
    EXPECT_TRUE(bar->font().families().contains(QStringLiteral("宋体")));
    // Both tabs share the one row.
    EXPECT_EQ(bar->tabRect(0).top(), bar->tabRect(1).top());
    EXPECT_LE(bar->tabRect(1).right(), 745);

    EXPECT_EQ(w->Frame3->geometry(), QRect(0, 24, 745, 512));
    EXPECT_EQ(w->Frame2->geometry(), QRect(0, 24, 745, 513));
    EXPECT_EQ(w->Frame3->parentWidget(), w->SSTab1);
    EXPECT_EQ(w->Frame2->parentWidget(), w->SSTab1);
    EXPECT_EQ(w->Image2->geometry(), QRect(8, 8, 800, 600));
    EXPECT_EQ(w->Image1->geometry(), QRect(8, 16, 800, 600));
}

TEST_F(SettingsWindow, StudyPageHoldsPlansPanelAndOkButton) {
    auto w = open();
    for (size_t i = 0; i < kStudyPlans.size(); ++i) {
        SCOPED_TRACE(i);
        QRadioButton* b = w->Option1[i];
        EXPECT_EQ(b->parentWidget(), w->Frame3);
        EXPECT_EQ(b->pos(), QPoint(kStudyPlans[i].left, kStudyPlans[i].top));
        EXPECT_EQ(b->height(), 33);
        EXPECT_EQ(b->font().pointSizeF(), 12);
        EXPECT_TRUE(b->font().families().contains(QStringLiteral("宋体")));
        EXPECT_EQ(b->palette().color(QPalette::Window), QColor(0, 192, 192));
        // The caption colour of an option that can be chosen (the new-word plan is disabled
        // here, and drawn grey).
        EXPECT_EQ(b->palette().color(QPalette::Active, QPalette::WindowText),
                  QColor(192, 255, 255));
        EXPECT_TRUE(b->autoFillBackground());
        // The whole caption fits, and the button stays on its page.
        EXPECT_GE(b->width(), b->sizeHint().width());
        EXPECT_LE(b->geometry().right(), 744);
    }
    EXPECT_EQ(w->Option1[10]->text(), QStringLiteral("智能型（根据熟悉程度屏蔽已知词汇）"));
    EXPECT_EQ(w->Option1[0]->text(), QStringLiteral("自由学习（粗放型，适合词汇量较大者）"));
    EXPECT_EQ(w->Option1[11]->text(), QStringLiteral("我的生词表"));

    EXPECT_EQ(w->Image3->geometry(), QRect(344, 336, 54, 21));
    EXPECT_EQ(w->Picture1->geometry(), QRect(32, 384, 689, 128));
    const int tops[] = {11, 48, 87};
    QLabel* labels[] = {w->Label1, w->Label2, w->Label3};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(labels[i]->parentWidget(), w->Picture1);
        EXPECT_EQ(labels[i]->pos(), QPoint(424, tops[i]));
        EXPECT_EQ(labels[i]->font().pointSizeF(), 21.75);
        EXPECT_TRUE(labels[i]->font().bold());
        EXPECT_EQ(labels[i]->palette().color(QPalette::WindowText), QColor(0, 255, 0));
        EXPECT_FALSE(labels[i]->autoFillBackground());
        EXPECT_LE(labels[i]->geometry().bottom(), 127);
    }
}

TEST_F(SettingsWindow, TestPageHoldsKindsAndOkButton) {
    auto w = open();
    for (size_t i = 0; i < kTestKinds.size(); ++i) {
        SCOPED_TRACE(i);
        QRadioButton* b = w->Option2[i];
        EXPECT_EQ(b->parentWidget(), w->Frame2);
        EXPECT_EQ(b->text(), QString::fromUtf8(kTestKinds[i].caption));
        EXPECT_EQ(b->pos(), QPoint(kTestKinds[i].left, kTestKinds[i].top));
        EXPECT_EQ(b->height(), 49);
        EXPECT_EQ(b->font().pointSizeF(), 14.25);
        EXPECT_EQ(b->palette().color(QPalette::Window), QColor(0, 192, 192));
        EXPECT_EQ(b->palette().color(QPalette::WindowText), QColor(192, 255, 255));
        EXPECT_GE(b->width(), b->sizeHint().width());
        EXPECT_LE(b->geometry().right(), 744);
    }
    EXPECT_EQ(w->Image4->geometry(), QRect(360, 400, 54, 21));
}

TEST_F(SettingsWindow, NoOptionButtonCoversAnother) {
    auto w = open();
    auto checkGroup = [](std::span<QRadioButton* const> group) {
        for (size_t i = 0; i < group.size(); ++i) {
            for (size_t j = i + 1; j < group.size(); ++j) {
                EXPECT_FALSE(group[i]->geometry().intersects(group[j]->geometry()))
                    << i << " and " << j;
            }
        }
    };
    checkGroup(w->Option1);
    checkGroup(w->Option2);
    // The OK buttons and the panel lie on top of the background pictures.
    const QObjectList& study = w->Frame3->children();
    EXPECT_LT(study.indexOf(w->Image2), study.indexOf(w->Option1[0]));
    EXPECT_EQ(study.indexOf(w->Image3), study.size() - 1);
    const QObjectList& test = w->Frame2->children();
    EXPECT_LT(test.indexOf(w->Image1), test.indexOf(w->Option2[0]));
    EXPECT_EQ(test.indexOf(w->Image4), test.size() - 1);
}

TEST_F(SettingsWindow, OkButtonsShowTheirDarkLookAtOpening) {
    auto w = open();
    for (ui::Picture* ok : {w->Image3, w->Image4}) {
        EXPECT_EQ(ok->look(), QStringLiteral("ok dark"));
        EXPECT_EQ(ok->size(), QSize(54, 21));
        // The artwork is compiled in: the picture is not blank.
        const QImage image = ok->picture().toImage();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                inked += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(inked, 40);
    }
    EXPECT_EQ(w->ImageList1.picture(1).size(), QSize(52, 21));
    EXPECT_EQ(w->ImageList1.picture(2).size(), QSize(54, 21));
    EXPECT_EQ(w->ImageList2.picture(1).size(), QSize(52, 21));
    EXPECT_EQ(w->ImageList2.picture(2).size(), QSize(54, 21));
}

// Grabs of both tabs for a look by eye (kept in the build tree), with the background checked.
TEST_F(SettingsWindow, GrabsOfBothTabsShowTheirPages) {
    given(settings::keys::checkWordvol, QStringLiteral("3456"));
    given(settings::keys::checkLearnedtime, QStringLiteral("12"));
    given(settings::keys::checkFallible, QStringLiteral("30"));
    given(settings::keys::autoFallible, QStringLiteral("25"));
    auto w = open();
    const QString dir = testing_support::outputFolder(QStringLiteral("grabs"));

    w->SSTab1->setCurrentIndex(Form2::kStudyTab);
    const QImage study = w->grab().toImage();
    EXPECT_TRUE(study.save(dir + QStringLiteral("/settings_study_tab.png")));
    w->SSTab1->setCurrentIndex(Form2::kTestTab);
    const QImage test = w->grab().toImage();
    EXPECT_TRUE(test.save(dir + QStringLiteral("/settings_test_tab.png")));

    QTest::mouseMove(w->Image4, QPoint(20, 10));
    EXPECT_TRUE(w->grab(QRect(340, 440, 120, 60))
                    .save(dir + QStringLiteral("/settings_test_ok_hover.png")));

    EXPECT_EQ(study.size(), QSize(800, 600) * study.devicePixelRatio());
    // The window colour outside the frame, the page background inside it.
    EXPECT_EQ(QColor(study.pixel(2, 2)), QColor(0, 192, 192));
    EXPECT_NE(study, test);
}

}  // namespace
}  // namespace settings_window_test
