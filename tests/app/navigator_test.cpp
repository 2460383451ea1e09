#include "app/navigator.h"
#include "app/start_window.h"
#include "drill/study_window.h"
#include "lookup/dictionary_window.h"

#include "settings/keys.h"
#include "tests/app/start_fakes.h"
#include "tests/support/case_names.h"
#include "tests/support/fakes.h"
#include "ui/picture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace {

using core::WindowKind;

void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// A window that closes itself while it is being shown, as a start window does whose load
/// finds a newer version.
class SelfClosingWindow final : public QWidget {
  public:
    void setVisible(bool visible) override {
        if (visible) {
            close();
            return;
        }
        QWidget::setVisible(visible);
    }
};

struct PlainWindows {
    std::vector<WindowKind> made;
    bool selfClosing = false;
    std::function<void()> beforeMaking;
    std::unique_ptr<QWidget> operator()(WindowKind kind) {
        if (beforeMaking) {
            beforeMaking();
        }
        made.push_back(kind);
        if (selfClosing) {
            return std::make_unique<SelfClosingWindow>();
        }
        return std::make_unique<QWidget>();
    }
};

class NavigatorTest : public ::testing::Test {
  protected:
    ~NavigatorTest() override {
        if (navigator.current()) {
            delete navigator.current();
        }
    }
    PlainWindows windows;
    int ends = 0;
    app::WindowNavigator navigator{[this](WindowKind kind) { return windows(kind); },
                                   [this] { ++ends; }};
};

TEST_F(NavigatorTest, ShowsANewWindowThatDeletesItselfWhenClosed) {
    navigator.show(WindowKind::Settings);
    QPointer<QWidget> window = navigator.current();
    ASSERT_TRUE(window);
    EXPECT_EQ(windows.made, std::vector<WindowKind>{WindowKind::Settings});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    window->close();
    deleteClosedWindows();
    EXPECT_FALSE(window);
    EXPECT_EQ(navigator.openWindows(), 0);
}

TEST_F(NavigatorTest, TheProgramGoesOnWhileTheNextWindowIsOpen) {
    navigator.show(WindowKind::Start);
    QPointer<QWidget> start = navigator.current();
    // The start button: the next window first, then the start window unloads.
    navigator.show(WindowKind::Settings);
    start->close();
    deleteClosedWindows();
    EXPECT_FALSE(start);
    EXPECT_EQ(navigator.openWindows(), 1);
    EXPECT_EQ(ends, 0);
    navigator.current()->close();
    deleteClosedWindows();
    EXPECT_EQ(ends, 1);
}

TEST_F(NavigatorTest, ALeftWindowIsHiddenBeforeTheNextIsMadeAndTheProgramGoesOn) {
    navigator.show(WindowKind::Dictionary);
    QPointer<QWidget> left = navigator.current();
    bool leftShownWhileMaking = true;
    windows.beforeMaking = [&] {
        leftShownWhileMaking = left && left->isVisible();
        // Closed windows may be deleted before the next one is made.
        deleteClosedWindows();
    };
    navigator.unloadAndShow(*left, WindowKind::Start);
    EXPECT_FALSE(leftShownWhileMaking);
    EXPECT_EQ(ends, 0);
    deleteClosedWindows();
    EXPECT_FALSE(left);
    EXPECT_EQ(navigator.openWindows(), 1);
    EXPECT_TRUE(navigator.current()->isVisible());
    EXPECT_EQ(ends, 0);
}

TEST_F(NavigatorTest, AWindowThatUnloadsWhileItIsShownEndsTheProgram) {
    windows.selfClosing = true;
    navigator.show(WindowKind::Start);
    deleteClosedWindows();
    EXPECT_EQ(navigator.openWindows(), 0);
    EXPECT_EQ(ends, 1);
}

TEST_F(NavigatorTest, QuitEndsTheProgramOnce) {
    navigator.show(WindowKind::Start);
    navigator.current()->close();
    navigator.quit();
    deleteClosedWindows();
    EXPECT_EQ(ends, 1);
}

// ---- With real start windows --------------------------------------------------------------------

class StartWindowReturnTest : public ::testing::Test {
  protected:
    StartWindowReturnTest() {
        ui::installFontSubstitutions();
        QFile batch(core::pathText(fake.folders.paths.file("error.bat")));
        batch.open(QIODevice::WriteOnly);
        fake.speech.voices << QStringLiteral("VW Kate");
    }
    ~StartWindowReturnTest() override {
        delete navigator.current();
        deleteClosedWindows();
    }
    /// The window services with this navigator in place of the recording one.
    void makeBundle() {
        core::WindowServices s =
            testing_support::replaced(fake.services(), {.navigator = &navigator});
        s.echo = &echo;
        s.http = &http;
        bundle = std::make_unique<core::WindowServices>(s);
    }

    testing_support::FakeServices fake;
    testing_support::ScriptedEcho echo;
    testing_support::ScriptedFetch http;
    int ends = 0;
    std::unique_ptr<core::WindowServices> bundle;
    app::WindowNavigator navigator{[this](WindowKind kind) { return make(kind); },
                                   [this] { ++ends; }};

  private:
    std::unique_ptr<QWidget> make(WindowKind kind) {
        switch (kind) {
            case WindowKind::Study:
                return std::make_unique<Form3>(*bundle);
            case WindowKind::Dictionary:
                return std::make_unique<Form4>(*bundle);
            default:
                return std::make_unique<Form1>(*bundle);
        }
    }
};

TEST_F(StartWindowReturnTest, EveryNewStartWindowRunsItsLoadAndVoiceCheckAgain) {
    makeBundle();

    navigator.show(WindowKind::Start);
    auto* first = qobject_cast<Form1*>(navigator.current());
    ASSERT_TRUE(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->Label3->isVisible(); }));
    EXPECT_EQ(fake.folders.store().read(settings::keys::checkQuillmoor), QStringLiteral("2"));

    // A window that leaves shows a new start window, then unloads itself.
    navigator.show(WindowKind::Start);
    first->close();
    deleteClosedWindows();
    auto* second = qobject_cast<Form1*>(navigator.current());
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->Label3->isVisible(); }));
    EXPECT_EQ(fake.folders.store().read(settings::keys::checkQuillmoor), QStringLiteral("3"));
    EXPECT_EQ(fake.speech.created, 2);
    EXPECT_EQ(navigator.openWindows(), 1);
    EXPECT_EQ(ends, 0);

    // The exit button ends the program.
    second->Image4_Click();
    deleteClosedWindows();
    EXPECT_EQ(ends, 1);
}

TEST_F(StartWindowReturnTest, AStartWindowUnloadedByTheUpdateNoticeEndsTheProgram) {
    http.document = QByteArray("9.0");
    makeBundle();
    navigator.show(WindowKind::Start);
    deleteClosedWindows();
    EXPECT_EQ(navigator.openWindows(), 0);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(fake.messages.shown.size(), 1);
}

// ---- Leaving the study and dictionary windows ------------------------------------------------

struct Leaving {
    WindowKind left;
    const char* published;  // the update document
    bool programGoesOn;     // false: the new start window's load unloads it again
};

void PrintTo(const Leaving& c, std::ostream* os) {
    *os << app::roleOf(c.left) << " window, published \"" << c.published << '"';
}

class LeavingTest : public StartWindowReturnTest, public ::testing::WithParamInterface<Leaving> {
  protected:
    LeavingTest() {
        fake.folders.writeNumberedWords(50);
        fake.folders.writeEmptyLists();
        fake.folders.store().write(settings::keys::modeWhichone, QStringLiteral("learn"));
        fake.folders.store().write(settings::keys::modeLearn, QStringLiteral("600"));
        http.document = QByteArray(GetParam().published);
        makeBundle();
    }
    /// Clicks the exit picture of the study or dictionary window.
    static void clickExit(QWidget* window) {
        if (auto* study = qobject_cast<Form3*>(window)) {
            EXPECT_FALSE(study->Text1->text().isEmpty());  // a question is on screen
            QTest::mouseClick(study->Image4, Qt::LeftButton, Qt::NoModifier, {50, 11});
        } else if (auto* dictionary = qobject_cast<Form4*>(window)) {
            QTest::mouseClick(dictionary->Image3, Qt::LeftButton);
        }
    }
};

TEST_P(LeavingTest, TheLeftWindowIsOffTheScreenWhileTheStartWindowLoads) {
    navigator.show(GetParam().left);
    QPointer<QWidget> left = navigator.current();
    ASSERT_TRUE(left && left->isVisible());
    // The study window deals its first question once it is on screen.
    QCoreApplication::processEvents();

    int fetches = 0;
    http.whileFetching = [&] {
        ++fetches;
        if (left) {
            EXPECT_FALSE(left->isVisible());
            ASSERT_TRUE(left->windowHandle());
            EXPECT_FALSE(left->windowHandle()->isVisible());
            EXPECT_FALSE(left->windowHandle()->isExposed());
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
        }
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            EXPECT_FALSE(window->isVisible());
        }
    };
    clickExit(left);
    http.whileFetching = nullptr;
    EXPECT_EQ(fetches, 1);
    EXPECT_TRUE(fake.failure.messages.isEmpty());

    deleteClosedWindows();
    EXPECT_FALSE(left);
    if (GetParam().programGoesOn) {
        EXPECT_EQ(navigator.openWindows(), 1);
        EXPECT_TRUE(qobject_cast<Form1*>(navigator.current())->isVisible());
        EXPECT_EQ(ends, 0);
    } else {
        EXPECT_EQ(navigator.openWindows(), 0);
        EXPECT_EQ(ends, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(StudyAndDictionaryWindows, LeavingTest,
                         ::testing::Values(Leaving{WindowKind::Study, "5.4", true},
                                           Leaving{WindowKind::Study, "9.0", false},
                                           Leaving{WindowKind::Dictionary, "5.4", true},
                                           Leaving{WindowKind::Dictionary, "9.0", false}),
                         [](const auto& info) {
                             return testing_support::caseName(app::roleOf(info.param.left),
                                                              "published", info.param.published);
                         });

}  // namespace
