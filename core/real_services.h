#pragma once

#include "core/failure.h"
#include "core/services.h"

#include <cstdint>

namespace core {

class SteadyClock final : public Clock {
  public:
    std::int64_t nowMs() override;
    void idle() override;
};

class LocalTimeOfDay final : public TimeOfDay {
  public:
    double secondsSinceMidnight() override;
};

/// splitmix64 over a 64-bit state; a reseed xors the mixed seed into the state.
class MixingRandom final : public Random {
  public:
    explicit MixingRandom(std::uint64_t state = 0x9E3779B97F4A7C15ull) : state_(state) {}
    void reseed(double seed) override;
    double next() override;

  private:
    std::uint64_t state_;
};

class BoxMessages final : public MessageBoxes {
  public:
    void inform(const QString& text) override;
};

class DesktopBrowser final : public Browser {
  public:
    void open(const QString& address) override;
};

class ShellLauncher final : public Launcher {
  public:
    bool startHidden(const QString& file) override;
};

/// Shows the error in a message box with one OK button and ends the program with status 1.
class BoxAndExitFailure final : public FailurePath {
  public:
    void fail(const QString& message) override;
};

/// The application name used as the title of every message box.
QString applicationTitle();

}  // namespace core
