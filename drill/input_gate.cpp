#include "drill/input_gate.h"

#include <QMouseEvent>

namespace drill {

InputGate::InputGate(QObject* parent) : QObject(parent) {}

void InputGate::watch(QObject* control) {
    // Installing the same filter twice keeps one entry.
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this](QObject* gone) { heldOff_.remove(gone); });
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            if (closed_) {
                heldOff_[watched] |= button;
                ++swallowed_;
                return true;
            }
            // A press of its own: its release is judged.
            heldOff_[watched] &= ~Qt::MouseButtons(button);
            break;
        }
        case QEvent::MouseButtonRelease: {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            const auto held = heldOff_.find(watched);
            if (held != heldOff_.end() && held->testFlag(button)) {
                *held &= ~Qt::MouseButtons(button);
                ++swallowed_;
                return true;
            }
            if (closed_) {
                ++swallowed_;
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace drill
