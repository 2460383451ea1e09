#include "drill/input_gate.h"

#include <QEvent>

namespace drill {

InputGate::InputGate(QObject* parent) : QObject(parent) {}

void InputGate::watch(QObject* control) {
    // Installing the same filter twice keeps one entry.
    control->installEventFilter(this);
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    if (closed_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
                ++swallowed_;
                return true;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace drill
