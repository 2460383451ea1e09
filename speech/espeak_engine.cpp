#include "speech/espeak_engine.h"
#include "core/library.h"

#include <espeak-ng/speak_lib.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <fstream>
#include <optional>
#include <string>

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
    decltype(&espeak_SetVoiceByFile) setVoiceByFile = nullptr;
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
            !core::resolveSymbol(library, "espeak_SetVoiceByFile", e.setVoiceByFile) ||
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

/// The `name` line of a voice file: the keyword, blanks, then the name to the end of the line.
QString declaredName(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(QLatin1String("name")) && text.size() > 4 && text.at(4).isSpace()) {
            return text.mid(5).trimmed();
        }
    }
    return {};
}

class EspeakVoice final : public Voice {
  public:
    // The program folder is looked at once per voice object, that is once per utterance.
    explicit EspeakVoice(const std::filesystem::path& folder) : files_(voiceFilesIn(folder)) {}
    ~EspeakVoice() override { closeFile(); }
    EspeakVoice(const EspeakVoice&) = delete;
    EspeakVoice& operator=(const EspeakVoice&) = delete;

    QStringList voiceDescriptions() override {
        QStringList names;
        for (const auto& [name, file] : files_) {
            names << name;
        }
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

    // A voice file of the program folder wins over an installed voice of the same name: the
    // program speaks in the voice it brings, whatever else the machine has installed.
    bool selectVoiceByName(const QString& name) override {
        for (const auto& [declared, file] : files_) {
            if (declared == name) {
                return selectFile(file);
            }
        }
        if (espeak()->setVoiceByName(name.toUtf8().constData()) != EE_OK) {
            return false;
        }
        closeFile();
        voice_ = name;
        return true;
    }

    void setRate(int rate) override { rate_ = rate; }

    bool speak(const QString& text) override {
        // Each utterance starts from the default voice unless this object selected one.
        if (!selectAgain()) {
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
    // espeak-ng lower-cases the path of a voice file, cuts it at 59 bytes and reads a "+" as
    // the start of a variant name, so most program folders cannot be named to it. It is
    // handed the file as one of this process's open files instead, whose path has none of
    // those.
    bool selectFile(const std::filesystem::path& file) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        closeFile();
        fd_ = fd;
        voice_.clear();
        if (!selectAgain()) {
            closeFile();
            return false;
        }
        return true;
    }

    bool selectAgain() {
        if (fd_ >= 0) {
            const std::string path = "/proc/self/fd/" + std::to_string(fd_);
            return espeak()->setVoiceByFile(path.c_str()) == EE_OK;
        }
        const QByteArray voice = voice_.isEmpty() ? QByteArray("en") : voice_.toUtf8();
        return espeak()->setVoiceByName(voice.constData()) == EE_OK;
    }

    void closeFile() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

    std::vector<std::pair<QString, std::filesystem::path>> files_;  // the folder's voice files
    QString voice_;  // an installed voice selected by name
    int fd_ = -1;    // a voice file selected from the program folder
    int rate_ = 0;
};

}  // namespace

std::vector<std::pair<QString, std::filesystem::path>> voiceFilesIn(
    const std::filesystem::path& folder) {
    std::vector<std::pair<QString, std::filesystem::path>> found;
    if (folder.empty()) {
        return found;
    }
    std::error_code error;
    std::vector<std::filesystem::path> files;
    // A folder that cannot be read (or read to its end) offers the voices found so far.
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (it->path().extension() == kVoiceFileExtension && it->is_regular_file(typeError)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        const QString name = declaredName(file);
        if (!name.isEmpty()) {
            found.emplace_back(name, std::filesystem::absolute(file, error));
        }
    }
    return found;
}

EspeakEngine::EspeakEngine(Output output, std::filesystem::path voiceFolder)
    : output_(output), voiceFolder_(std::move(voiceFolder)) {}

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
    return std::make_unique<EspeakVoice>(voiceFolder_);
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
