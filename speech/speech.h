#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace settings {
class Store;
}

namespace speech {

/// The preferred voice, its name query and the slow rate of headwords.
inline constexpr char kPreferredVoice[] = "VW Kate";
inline constexpr int kSlowRate = -6;

/// One voice object of the speech service, made for one utterance.
class Voice {
  public:
    virtual ~Voice() = default;
    /// Descriptions of every installed voice, walked one by one.
    virtual QStringList voiceDescriptions() = 0;
    /// Selects the first voice that the name query finds; false when it finds none.
    virtual bool selectVoiceByName(const QString& name) = 0;
    /// Rate on the scale -10 (slowest) .. 10 (fastest), 0 normal.
    virtual void setRate(int rate) = 0;
    /// Speaks the text and returns when it has been spoken. False when it could not be played.
    virtual bool speak(const QString& text) = 0;
};

/// The speech service: makes voice objects. Nothing returned means no speech support at all.
class Engine {
  public:
    virtual ~Engine() = default;
    virtual std::unique_ptr<Voice> createVoice() = 0;
};

/// The three speaking routines of the windows, one engine behind them.
/// Every call reads the speech switch anew and speaks only while it is exactly "true".
class Speaker {
  public:
    /// `pumpEvents` lets pending window events run (repaints, queued input) before speaking.
    Speaker(settings::Store& store, Engine& engine, std::function<void()> pumpEvents);

    /// The question's headword: preferred voice at the slow rate, events processed first.
    void SpeakWord(const QString& text);
    /// Short phrases of the study window ("oh", the welcome): events processed first.
    void SpeakText(const QString& text);
    /// The dictionary window's routine: like SpeakText, without processing events.
    void SpeakTextDirect(const QString& text);

    /// True when the preferred voice is among the installed voices (the start window's check).
    bool preferredVoiceInstalled();

  private:
    void speak(const QString& text, bool slowPreferred, bool pump);
    void reportOnce(const QString& problem);

    settings::Store& store_;
    Engine& engine_;
    std::function<void()> pumpEvents_;
};

}  // namespace speech
