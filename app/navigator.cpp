#include "app/navigator.h"

#include <QCoreApplication>
#include <QWidget>

namespace app {

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
    ++open_;
    connect(window, &QObject::destroyed, this, &WindowNavigator::windowGone);
    current_ = window;
    // A window whose load unloads it again stays unshown and is deleted.
    window->show();
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
