#pragma once

#include <QColor>
#include <QRadioButton>

namespace drill {

/// One answer row of the study window: an option button drawn as a push button (raised while
/// not selected, pressed in while selected), its caption centred and wrapped. The whole row
/// takes the click, a click on the selected row keeps it selected, and the row reports pointer
/// moves and every mouse release after the button has handled it, so that a left click has
/// already selected the row when the release is judged.
class AnswerRow : public QRadioButton {
    Q_OBJECT
  public:
    explicit AnswerRow(QWidget* parent = nullptr);

    void setBackColour(const QColor& colour);
    void setTextColour(const QColor& colour);
    QColor backColour() const;
    QColor textColour() const;

  signals:
    /// Any mouse button was released over the row (after the row took the click).
    void mouseUp();
    /// The pointer moved over the row.
    void mouseMoved();

  protected:
    bool hitButton(const QPoint& pos) const override;
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace drill
