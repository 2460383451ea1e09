#include "speech/espeak_engine.h"
#include "core/library.h"

#include <espeak-ng/speak_lib.h>

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>

namespace speech {

namespace {

std::atomic<std::size_t> gSamples{0};

// The speech library and the sound libraries behind it are loaded, and the library started,
// when a voice is first asked for: a start of the program shows its window without them.
struct Espeak {
    decltype(&espeak_Initialize) initialize = nullptr;
    decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&espeak_ListVoices) listVoices = nullptr;
    decltype(&espeak_SetVoiceByName) setVoiceByName = nullptr;
    decltype(&espeak_SetParameter) setParameter = nullptr;
    decltype(&espeak_Synth) synth = nullptr;
    decltype(&espeak_Synchronize) synchronize = nullptr;
};

/// The library's entry points, or nothing when it is not installed.
const Espeak* espeak() {
    static const std::optional<Espeak> loaded = []() -> std::optional<Espeak> {
        void* library = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return std::nullopt;
        }
        Espeak e;
        if (!core::resolveSymbol(library, "espeak_Initialize", e.initialize) ||
            !core::resolveSymbol(library, "espeak_SetSynthCallback", e.setSynthCallback) ||
            !core::resolveSymbol(library, "espeak_ListVoices", e.listVoices) ||
            !core::resolveSymbol(library, "espeak_SetVoiceByName", e.setVoiceByName) ||
            !core::resolveSymbol(library, "espeak_SetParameter", e.setParameter) ||
            !core::resolveSymbol(library, "espeak_Synth", e.synth) ||
            !core::resolveSymbol(library, "espeak_Synchronize", e.synchronize)) {
            return std::nullopt;
        }
        return e;
    }();
    return loaded ? &*loaded : nullptr;
}

int countSamples(short* /*wav*/, int count, espeak_EVENT* /*events*/) {
    if (count > 0) {
        gSamples += static_cast<std::size_t>(count);
    }
    return 0;
}

class EspeakVoice final : public Voice {
  public:
    QStringList voiceDescriptions() override {
        QStringList names;
        const espeak_VOICE** voices = espeak()->listVoices(nullptr);
        for (int i = 0; voices != nullptr && voices[i] != nullptr; ++i) {
            const char* id = voices[i]->identifier;
            // mbrola voices need an outside synthesiser that is not there.
            if (id != nullptr && QByteArray(id).startsWith("mb/")) {
                continue;
            }
            if (voices[i]->name != nullptr) {
                names << QString::fromUtf8(voices[i]->name);
            }
        }
        return names;
    }

    bool selectVoiceByName(const QString& name) override {
        if (espeak()->setVoiceByName(name.toUtf8().constData()) != EE_OK) {
            return false;
        }
        voice_ = name;
        return true;
    }

    void setRate(int rate) override { rate_ = rate; }

    bool speak(const QString& text) override {
        // Each utterance starts from the default voice unless this object selected one.
        const QByteArray voice = voice_.isEmpty() ? QByteArray("en") : voice_.toUtf8();
        if (espeak()->setVoiceByName(voice.constData()) != EE_OK) {
            return false;
        }
        espeak()->setParameter(espeakRATE, EspeakEngine::wordsPerMinute(rate_), 0);
        const QByteArray utf8 = text.toUtf8();
        if (espeak()->synth(utf8.constData(), static_cast<size_t>(utf8.size()) + 1, 0,
                            POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr) != EE_OK) {
            return false;
        }
        return espeak()->synchronize() == EE_OK;
    }

  private:
    QString voice_;
    int rate_ = 0;
};

}  // namespace

EspeakEngine::EspeakEngine(Output output) : output_(output) {}

bool EspeakEngine::ready() {
    if (!started_) {
        started_ = true;
        const Espeak* e = espeak();
        const espeak_AUDIO_OUTPUT mode =
            output_ == Output::Playback ? AUDIO_OUTPUT_SYNCH_PLAYBACK : AUDIO_OUTPUT_SYNCHRONOUS;
        ready_ = e != nullptr && e->initialize(mode, 0, nullptr, 0) > 0;
        if (ready_ && output_ == Output::Memory) {
            e->setSynthCallback(countSamples);
        }
    }
    return ready_;
}

// The library is left initialised: terminating and initialising again hangs it, and the
// process ends soon after the engine anyway.
EspeakEngine::~EspeakEngine() = default;

std::unique_ptr<Voice> EspeakEngine::createVoice() {
    if (!ready()) {
        return nullptr;
    }
    return std::make_unique<EspeakVoice>();
}

std::size_t EspeakEngine::samplesProduced() const {
    return gSamples.load();
}

int EspeakEngine::wordsPerMinute(int rate) {
    // The -10..10 scale spans a third to three times the normal speed.
    const int clamped = std::clamp(rate, -10, 10);
    const double wpm = espeakRATE_NORMAL * std::pow(3.0, clamped / 10.0);
    return std::clamp(static_cast<int>(std::lround(wpm)), espeakRATE_MINIMUM, espeakRATE_MAXIMUM);
}

}  // namespace speech
