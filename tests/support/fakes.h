#pragma once

#include "core/failure.h"
#include "core/services.h"
#include "speech/speech.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <stdexcept>
#include <vector>

namespace testing_support {

/// Advances by a fixed step on every reading, so a wait on it ends without real time passing.
class FakeClock final : public core::Clock {
  public:
    std::int64_t now = 1000;
    std::int64_t step = 50;
    int readings = 0;
    std::int64_t nowMs() override {
        ++readings;
        now += step;
        return now;
    }
};

class FakeTimeOfDay final : public core::TimeOfDay {
  public:
    double seconds = 3600;
    double secondsSinceMidnight() override { return seconds; }
};

/// Returns the scripted numbers in order, then `fallback` (or throws when `strict`).
class ScriptedRandom final : public core::Random {
  public:
    std::deque<double> script;
    double fallback = 0.0;
    bool strict = false;
    int reseeds = 0;
    int draws = 0;
    void reseed(double) override { ++reseeds; }
    double next() override {
        ++draws;
        if (script.empty()) {
            if (strict) {
                throw std::logic_error("random script ran out");
            }
            return fallback;
        }
        const double r = script.front();
        script.pop_front();
        return r;
    }
    void push(std::initializer_list<double> values) {
        script.insert(script.end(), values.begin(), values.end());
    }
};

/// Records the messages that would have ended the program.
class RecordingFailure final : public core::FailurePath {
  public:
    QStringList messages;
    void fail(const QString& message) override { messages << message; }
};

class RecordingMessages final : public core::MessageBoxes {
  public:
    QStringList shown;
    void inform(const QString& text) override { shown << text; }
};

class RecordingBrowser final : public core::Browser {
  public:
    QStringList opened;
    void open(const QString& address) override { opened << address; }
};

class FakeLauncher final : public core::Launcher {
  public:
    QStringList started;
    bool result = true;
    bool startHidden(const QString& file) override {
        started << file;
        return result;
    }
};

/// Records the windows asked for; a window left for another is closed first.
class RecordingNavigator final : public core::Navigator {
  public:
    std::vector<core::WindowKind> shown;
    int quits = 0;
    void show(core::WindowKind kind) override { shown.push_back(kind); }
    void unloadAndShow(QWidget& leaving, core::WindowKind next) override {
        leaving.close();
        show(next);
    }
    void quit() override { ++quits; }
};

/// A speech service that records what each voice object was asked.
class FakeSpeechEngine final : public speech::Engine {
  public:
    struct Utterance {
        QString text;
        QString voice;  // selected voice, empty for the default
        int rate = 0;
    };
    QStringList voices{QStringLiteral("English (America)")};
    bool available = true;   // false: no speech support at all
    bool selectable = true;  // false: the name query finds nothing
    bool playable = true;    // false: speaking fails
    int created = 0;
    std::vector<Utterance> spoken;

    std::unique_ptr<speech::Voice> createVoice() override;
};

}  // namespace testing_support

#include "core/window_services.h"
#include "tests/support/folders.h"

namespace testing_support {

/// Fakes for every service of a window but its folders and settings.
struct WindowFakes {
    FakeSpeechEngine speech;
    RecordingFailure failure;
    FakeClock clock;
    FakeTimeOfDay timeOfDay;
    ScriptedRandom random;
    RecordingMessages messages;
    RecordingBrowser browser;
    FakeLauncher launcher;
    RecordingNavigator navigator;

    /// These fakes over a program folder, settings store and source of draws.
    core::WindowServices servicesOver(const core::Paths& paths, settings::Store& store,
                                      core::Random& draws) {
        return core::WindowServices{paths,     store,   speech,   failure, clock,
                                    timeOfDay, draws,   messages, browser, launcher,
                                    navigator, nullptr, nullptr};
    }
};

/// Fakes for every service of a window, over fresh temporary folders.
struct FakeServices : WindowFakes {
    TestFolders folders;

    core::WindowServices services() { return servicesOver(folders.paths, folders.store(), random); }
};

/// Services that stand in for some of a window's services; the others are kept.
struct Replacements {
    settings::Store* store = nullptr;
    speech::Engine* speech = nullptr;
    core::Clock* clock = nullptr;
    core::TimeOfDay* timeOfDay = nullptr;
    core::Navigator* navigator = nullptr;
};

/// `services` with the given replacements, as in
/// `replaced(fake.services(), {.store = &failing, .navigator = &navigator})`.
inline core::WindowServices replaced(const core::WindowServices& s, const Replacements& r) {
    return core::WindowServices{s.paths,
                                r.store ? *r.store : s.store,
                                r.speech ? *r.speech : s.speech,
                                s.failure,
                                r.clock ? *r.clock : s.clock,
                                r.timeOfDay ? *r.timeOfDay : s.timeOfDay,
                                s.random,
                                s.messages,
                                s.browser,
                                s.launcher,
                                r.navigator ? *r.navigator : s.navigator,
                                s.echo,
                                s.http};
}

}  // namespace testing_support
