#pragma once

#include <QHash>
#include <QObject>

namespace drill {

/// Keeps mouse clicks away from the controls it watches while it is closed: presses,
/// releases and double clicks are swallowed, pointer moves (the hover looks), repaints and
/// everything else go through. The study window closes it over the answer rows and the
/// picture buttons while an answer is being handled, so that a click made during the
/// spoken word or the pause after an answer neither judges that answer again nor deals a
/// question early. The release of a swallowed press is swallowed too, even when it comes
/// after the gate has opened again: the platform sends it to the control that got the
/// press, which must not take it for a click on the next question.
class InputGate final : public QObject {
    Q_OBJECT
  public:
    explicit InputGate(QObject* parent = nullptr);

    void watch(QObject* control);
    void setClosed(bool closed) { closed_ = closed; }
    bool isClosed() const { return closed_; }
    /// Clicks swallowed since the gate was made (tests read it).
    int swallowed() const { return swallowed_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool closed_ = false;
    int swallowed_ = 0;
    /// The buttons of each control whose press was swallowed and whose release is to come.
    QHash<QObject*, Qt::MouseButtons> heldOff_;
};

}  // namespace drill
