#pragma once

#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

// The small platform services every window reaches through its constructor. Production code
// gets the real ones (core/real_services.h); tests get fakes (tests/support/fakes.h).

namespace core {

/// A monotonic millisecond clock (the one-second pause after a right answer).
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
    /// Gives the processor away for a moment inside a wait that keeps processing window
    /// events, so the wait does not spin a core.
    virtual void idle() {}
};

/// Seconds since midnight, local time (the random draws reseed from it).
class TimeOfDay {
  public:
    virtual ~TimeOfDay() = default;
    virtual double secondsSinceMidnight() = 0;
};

/// The random generator of the draws: uniform numbers in [0, 1).
/// Reseeding mixes the seed into the state without restarting the sequence, so two reseeds
/// within one clock tick still give different numbers.
class Random {
  public:
    virtual ~Random() = default;
    virtual void reseed(double seed) = 0;
    virtual double next() = 0;
};

/// Message boxes with one OK button and the application's name as title.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual void inform(const QString& text) = 0;
};

/// Opens a web address in the learner's browser without waiting for it.
class Browser {
  public:
    virtual ~Browser() = default;
    virtual void open(const QString& address) = 0;
};

/// Runs a batch file hidden, without waiting. Returns false when it could not be started.
class Launcher {
  public:
    virtual ~Launcher() = default;
    virtual bool startHidden(const QString& file) = 0;
};

/// The windows of the program. Only one is open at a time: the start and settings windows
/// ask for the next one and then unload themselves (close); the study and dictionary windows
/// return to a new start window only once they are unloaded and off the screen.
enum class WindowKind { Start, Settings, Study, Dictionary };

class Navigator {
  public:
    virtual ~Navigator() = default;
    /// Shows a new, freshly loaded window of this kind.
    virtual void show(WindowKind kind) = 0;
    /// Unloads `leaving` (it closes, and is deleted once control is back in the event loop),
    /// lets pending window events run once with it off the screen, then shows a new window of
    /// kind `next`, whose load may take long. The program goes on in between.
    virtual void unloadAndShow(QWidget& leaving, WindowKind next) = 0;
    /// Ends the program normally (the exit button, a completed weeding plan).
    virtual void quit() = 0;
};

}  // namespace core
