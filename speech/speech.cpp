#include "speech/speech.h"

#include "settings/keys.h"

#include <cstdio>

namespace speech {

Speaker::Speaker(settings::Store& store, Engine& engine, std::function<void()> pumpEvents)
    : store_(store), engine_(engine), pumpEvents_(std::move(pumpEvents)) {}

void Speaker::SpeakWord(const QString& text) {
    speak(text, true, true);
}

void Speaker::SpeakText(const QString& text) {
    speak(text, false, true);
}

void Speaker::SpeakTextDirect(const QString& text) {
    speak(text, false, false);
}

bool Speaker::preferredVoiceInstalled() {
    const auto voice = engine_.createVoice();
    if (!voice) {
        return false;
    }
    return voice->voiceDescriptions().contains(QString::fromLatin1(kPreferredVoice));
}

void Speaker::speak(const QString& text, bool slowPreferred, bool pump) {
    if (store_.read(settings::keys::voiceSwitch) != QLatin1String("true")) {
        return;
    }
    const auto voice = engine_.createVoice();
    if (!voice) {
        // No speech support at all: the learner goes on without sound.
        reportOnce(QStringLiteral("no speech engine"));
        return;
    }
    const QString preferred = QString::fromLatin1(kPreferredVoice);
    const QStringList descriptions = voice->voiceDescriptions();
    for (const QString& description : descriptions) {
        if (description == preferred) {
            if (!voice->selectVoiceByName(preferred)) {
                // Listed but not selectable: speak with the default voice instead of failing.
                reportOnce(QStringLiteral("voice \"%1\" listed but not selectable").arg(preferred));
                break;
            }
            if (slowPreferred) {
                voice->setRate(kSlowRate);
            }
        }
    }
    if (pump && pumpEvents_) {
        pumpEvents_();
    }
    if (!voice->speak(text)) {
        // Speech that cannot be played must not stop the lesson: the caller goes on as if
        // the text had been spoken.
        reportOnce(QStringLiteral("speech could not be played"));
    }
}

void Speaker::reportOnce(const QString& problem) {
    // Once per run of the program, however many windows and utterances follow.
    static bool reported = false;
    if (!reported) {
        reported = true;
        std::fprintf(stderr, "speech: %s\n", problem.toLocal8Bit().constData());
    }
}

}  // namespace speech
