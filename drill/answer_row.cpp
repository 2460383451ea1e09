#include "drill/answer_row.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace drill {

AnswerRow::AnswerRow(QWidget* parent) : QRadioButton(parent) {
    // The window keeps one row selected at a time itself: a row must also be deselectable.
    setAutoExclusive(false);
    setMouseTracking(true);
    setAutoFillBackground(false);
}

void AnswerRow::setBackColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Button, colour);
    setPalette(p);
}

void AnswerRow::setTextColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::ButtonText, colour);
    setPalette(p);
}

QColor AnswerRow::backColour() const {
    return palette().color(QPalette::Button);
}

QColor AnswerRow::textColour() const {
    return palette().color(QPalette::ButtonText);
}

bool AnswerRow::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void AnswerRow::nextCheckState() {
    // A click selects the row; clicking the selected row leaves it selected.
    setChecked(true);
}

void AnswerRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, backColour());

    // A raised edge while not selected, pressed in while selected.
    const bool down = isChecked() || isDown();
    const QColor light = backColour().lighter(150);
    const QColor dark = backColour().darker(180);
    const QColor outer = down ? dark : light;
    const QColor inner = down ? light : dark;
    // The edges are one-pixel bars. On a plain pixel grid they are filled rather than stroked:
    // the raster engine draws a stroked line as one span per pixel and hands those to its
    // worker threads, which made every repaint of the rows wait on them. Both give the same
    // pixels there; a scaled screen (or a row too small for a shade line) keeps the strokes.
    const bool fill = r.width() >= 3 && r.height() >= 3 && painter.device() != nullptr &&
                      painter.device()->devicePixelRatioF() == 1.0;
    const auto line = [&](QPoint from, QPoint to, const QColor& c) {
        if (fill) {
            painter.fillRect(QRect(from, to), c);
        } else {
            painter.setPen(c);
            painter.drawLine(from, to);
        }
    };
    line(r.topLeft(), r.topRight(), outer);
    line(r.topLeft(), r.bottomLeft(), outer);
    line(r.bottomLeft(), r.bottomRight(), inner);
    line(r.topRight(), r.bottomRight(), inner);
    const QColor shade(0, 0, 0, 90);
    if (down) {
        line(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1), shade);
        line(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1), shade);
    } else {
        line(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1), shade);
        line(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1), shade);
    }

    QColor text = textColour();
    if (!isEnabled()) {
        text = backColour().darker(140);
    }
    painter.setPen(text);
    painter.setFont(font());
    const QRect textArea = r.adjusted(6, 2, -6, -2).translated(down ? 1 : 0, down ? 1 : 0);
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextWordWrap, this->text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = r.adjusted(4, 4, -4, -4);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void AnswerRow::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QRadioButton::mouseMoveEvent(event);
    // A move over the row must not reach the frame behind it: the frame's move resets the
    // hover colours of all rows.
    event->accept();
}

void AnswerRow::mouseReleaseEvent(QMouseEvent* event) {
    QRadioButton::mouseReleaseEvent(event);
    emit mouseUp();
}

}  // namespace drill
