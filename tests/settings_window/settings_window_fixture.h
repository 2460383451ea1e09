#pragma once

#include "settings/keys.h"
#include "settings/settings_window.h"
#include "tests/support/fakes.h"
#include "ui/picture.h"

#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace settings_window_test {

/// The settings store of a test, with every write recorded; reads and writes can be made to fail.
class RecordingStore final : public settings::Store {
  public:
    explicit RecordingStore(settings::Store& inner) : inner_(inner) {}

    struct Write {
        QString key;  // "section/key"
        QString value;
    };
    std::vector<Write> writes;
    bool failReads = false;
    bool failWrites = false;

    QString read(const settings::Key& key) override {
        if (failReads) {
            throw core::Error(QStringLiteral("cannot read %1").arg(name(key)));
        }
        return inner_.read(key);
    }
    void write(const settings::Key& key, const QString& value) override {
        if (failWrites) {
            throw core::Error(QStringLiteral("cannot write %1").arg(name(key)));
        }
        writes.push_back({name(key), value});
        inner_.write(key, value);
    }
    void remove(const settings::Key& key) override { inner_.remove(key); }

    static QString name(const settings::Key& key) {
        return QString::fromUtf8(key.section) + QLatin1Char('/') + QString::fromUtf8(key.key);
    }

  private:
    settings::Store& inner_;
};

/// A navigator that runs a test's action when a window is asked for.
class WatchingNavigator final : public core::Navigator {
  public:
    std::vector<core::WindowKind> shown;
    std::function<void(core::WindowKind)> onShow;
    int quits = 0;
    void show(core::WindowKind kind) override {
        shown.push_back(kind);
        if (onShow) {
            onShow(kind);
        }
    }
    void unloadAndShow(QWidget& leaving, core::WindowKind next) override {
        leaving.close();
        show(next);
    }
    void quit() override { ++quits; }
};

class SettingsWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ui::installFontSubstitutions(); }

    testing_support::FakeServices fakes;
    RecordingStore store{fakes.folders.store()};
    WatchingNavigator navigator;

    core::WindowServices services() {
        return testing_support::replaced(fakes.services(),
                                         {.store = &store, .navigator = &navigator});
    }

    /// Stores a setting before the window opens (not recorded as the window's write).
    void given(const settings::Key& key, const QString& value) {
        fakes.folders.store().write(key, value);
    }
    QString stored(const settings::Key& key) { return fakes.folders.store().read(key); }

    /// A settings window as the start window opens it: built, then shown, which loads it.
    std::unique_ptr<Form2> open() {
        auto window = std::make_unique<Form2>(services());
        window->show();
        return window;
    }

    static void clickOption(QRadioButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    static void clickTab(Form2& w, int index) {
        QTabBar* bar = w.SSTab1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    static void click(ui::Picture* picture) {
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(10, 10));
    }
    static int checkedIndex(std::span<QRadioButton* const> group) {
        for (size_t i = 0; i < group.size(); ++i) {
            if (group[i]->isChecked()) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
};

}  // namespace settings_window_test
