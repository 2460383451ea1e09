#include "app/navigator.h"

#include <qguiapplication_platform.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

namespace app {

const char* roleOf(core::WindowKind kind) {
    switch (kind) {
        case core::WindowKind::Start:
            return "start";
        case core::WindowKind::Settings:
            return "settings";
        case core::WindowKind::Study:
            return "study";
        case core::WindowKind::Dictionary:
            return "dictionary";
    }
    return "";
}

WindowNavigator::WindowNavigator(Factory make, std::function<void()> endProgram)
    : make_(std::move(make)), endProgram_(std::move(endProgram)) {
    if (!endProgram_) {
        endProgram_ = [] { QCoreApplication::quit(); };
    }
}

void WindowNavigator::show(core::WindowKind kind) {
    std::unique_ptr<QWidget> made = make_(kind);
    if (!made) {
        return;
    }
    QWidget* window = made.release();
    window->setAttribute(Qt::WA_DeleteOnClose);
    // All four windows share one title; the role tells them apart on the desktop.
    window->setWindowRole(QString::fromLatin1(roleOf(kind)));
    ++open_;
    connect(window, &QObject::destroyed, this, &WindowNavigator::windowGone);
    current_ = window;
    // A window whose load unloads it again stays unshown and is deleted.
    window->show();
}

void WindowNavigator::unloadAndShow(QWidget& leaving, core::WindowKind next) {
    // The leaving window is closed now but deleted only once control is back in the event
    // loop: the handler that asked is still running on it, and while it exists the program
    // does not end before the next window is made.
    leaving.setAttribute(Qt::WA_DeleteOnClose, false);
    leaving.close();
    QCoreApplication::processEvents();
    // The next window's load can block for long (the start window's update fetch); the left
    // window must be gone from the screen by then, not just hidden in our own queue.
    flushToDisplay();
    show(next);
    leaving.deleteLater();
}

void WindowNavigator::flushToDisplay() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection()) {
        xcb_flush(x11->connection());
    }
}

void WindowNavigator::quit() {
    if (!ended_) {
        ended_ = true;
        endProgram_();
    }
}

void WindowNavigator::windowGone() {
    --open_;
    if (open_ == 0) {
        quit();
    }
}

}  // namespace app
