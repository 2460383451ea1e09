#pragma once

#include "speech/speech.h"

#include <QString>

#include <cstddef>
#include <filesystem>
#include <utility>
#include <vector>

namespace speech {

/// Extension of the voice files that the program brings in its own folder.
inline constexpr char kVoiceFileExtension[] = ".voice";

/// The voice files ("*.voice") of a folder, each with the name it declares on its `name`
/// line, in file-name order. Files without a name are left out.
std::vector<std::pair<QString, std::filesystem::path>> voiceFilesIn(
    const std::filesystem::path& folder);

/// The speech service over the espeak-ng library, loaded and started when the first voice is
/// asked for. The library is global state: make one engine per process, and keep it until
/// the end. Besides espeak-ng's installed voices it offers the voice files of the program
/// folder.
class EspeakEngine final : public Engine {
  public:
    enum class Output {
        Playback,  // to the sound device, returning when the text has been spoken
        Memory,    // samples into memory (tests, machines without sound)
    };
    explicit EspeakEngine(Output output = Output::Playback, std::filesystem::path voiceFolder = {});
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
    std::filesystem::path voiceFolder_;
    bool started_ = false;
    bool ready_ = false;
};

}  // namespace speech
