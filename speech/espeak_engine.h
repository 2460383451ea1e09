#pragma once

#include "speech/speech.h"

#include <cstddef>

namespace speech {

/// The speech service over the espeak-ng library, loaded and started when the first voice is
/// asked for. The library is global state: make one engine per process, and keep it until
/// the end.
class EspeakEngine final : public Engine {
  public:
    enum class Output {
        Playback,  // to the sound device, returning when the text has been spoken
        Memory,    // samples into memory (tests, machines without sound)
    };
    explicit EspeakEngine(Output output = Output::Playback);
    ~EspeakEngine() override;

    /// Nothing when the library could not start (no speech data).
    std::unique_ptr<Voice> createVoice() override;

    /// Samples produced in Memory output since the engine started.
    std::size_t samplesProduced() const;

    /// espeak-ng's words per minute for a rate on the -10..10 scale; 0 is espeak-ng's normal.
    static int wordsPerMinute(int rate);

  private:
    /// Starts the library on the first call; true while it runs.
    bool ready();

    Output output_;
    bool started_ = false;
    bool ready_ = false;
};

}  // namespace speech
