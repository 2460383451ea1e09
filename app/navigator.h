#pragma once

#include "core/services.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QWidget;

namespace app {

/// The window role of a kind ("start", "settings", "study", "dictionary"): the windows'
/// title is the same, so the desktop tells them apart by their role.
const char* roleOf(core::WindowKind kind);

/// The program's navigator: makes a new window of the asked kind, lets it delete itself when
/// it is closed, and shows it. The asking window then closes itself, or the navigator closes
/// it first and takes it off the screen, so one window is open at a time. When the last window
/// is gone and no new one was asked for, the program ends.
class WindowNavigator final : public QObject, public core::Navigator {
    Q_OBJECT
  public:
    using Factory = std::function<std::unique_ptr<QWidget>(core::WindowKind)>;

    /// `make` builds a window of a kind; `endProgram` ends the event loop (the application's
    /// quit unless a test gives its own).
    explicit WindowNavigator(Factory make, std::function<void()> endProgram = {});

    void show(core::WindowKind kind) override;
    void unloadAndShow(QWidget& leaving, core::WindowKind next) override;
    void quit() override;

    /// Windows made by this navigator that still exist.
    int openWindows() const { return open_; }
    /// The window made last, while it exists.
    QWidget* current() const { return current_; }

  private:
    void windowGone();
    /// Sends the window system's queued requests (an unmapped window) to the display now.
    static void flushToDisplay();

    Factory make_;
    std::function<void()> endProgram_;
    int open_ = 0;
    bool ended_ = false;
    QPointer<QWidget> current_;
};

}  // namespace app
