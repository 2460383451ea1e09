#pragma once

#include <QObject>

namespace drill {

/// Keeps mouse clicks away from the controls it watches while it is closed: presses,
/// releases and double clicks are swallowed, pointer moves (the hover looks), repaints and
/// everything else go through. The study window closes it over the answer rows and the
/// picture buttons while an answer is being handled, so that a click made during the
/// spoken word or the pause after an answer neither judges that answer again nor deals a
/// question early.
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
};

}  // namespace drill
