#include "speech/espeak_engine.h"
#include "speech/speech.h"

#include "settings/keys.h"
#include "tests/support/fakes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testing_support::FakeSpeechEngine;
using testing_support::TestFolders;

class SpeakerTest : public ::testing::Test {
  protected:
    void switchTo(const char* value) {
        folders.store().write(settings::keys::voiceSwitch, QString::fromUtf8(value));
    }
    TestFolders folders;
    FakeSpeechEngine engine;
    int pumps = 0;
    speech::Speaker speaker{folders.store(), engine, [this] { ++pumps; }};
};

TEST_F(SpeakerTest, SpeaksNothingAndMakesNoVoiceUnlessTheSwitchIsExactlyTrue) {
    for (const char* value : {"", "True", "TRUE", "true ", "1"}) {
        switchTo(value);
        speaker.SpeakWord(QStringLiteral("apple"));
        speaker.SpeakText(QStringLiteral("oh"));
        speaker.SpeakTextDirect(QStringLiteral("apple"));
    }
    folders.store().remove(settings::keys::voiceSwitch);
    speaker.SpeakWord(QStringLiteral("apple"));
    EXPECT_EQ(engine.created, 0);
    EXPECT_TRUE(engine.spoken.empty());
    EXPECT_EQ(pumps, 0);
}

TEST_F(SpeakerTest, ThePreferredVoiceSpeaksHeadwordsSlowlyAndPhrasesAtItsNormalRate) {
    engine.voices << QStringLiteral("VW Kate");
    switchTo("true");
    speaker.SpeakWord(QStringLiteral("apple"));
    speaker.SpeakText(QStringLiteral("oh"));
    speaker.SpeakTextDirect(QStringLiteral("book"));
    ASSERT_EQ(engine.spoken.size(), 3u);
    EXPECT_EQ(engine.spoken[0].text, QStringLiteral("apple"));
    EXPECT_EQ(engine.spoken[0].voice, QStringLiteral("VW Kate"));
    EXPECT_EQ(engine.spoken[0].rate, -6);
    EXPECT_EQ(engine.spoken[1].voice, QStringLiteral("VW Kate"));
    EXPECT_EQ(engine.spoken[1].rate, 0);
    EXPECT_EQ(engine.spoken[2].voice, QStringLiteral("VW Kate"));
    EXPECT_EQ(engine.spoken[2].rate, 0);
    EXPECT_EQ(engine.created, 3);  // one voice object per utterance
    EXPECT_EQ(pumps, 2);           // the dictionary's routine lets no events run
}

TEST_F(SpeakerTest, WithoutThePreferredVoiceTheDefaultVoiceSpeaksAtTheNormalRate) {
    switchTo("true");
    speaker.SpeakWord(QStringLiteral("apple"));
    ASSERT_EQ(engine.spoken.size(), 1u);
    EXPECT_EQ(engine.spoken[0].voice, QString());
    EXPECT_EQ(engine.spoken[0].rate, 0);
    EXPECT_FALSE(speaker.preferredVoiceInstalled());
    engine.voices << QStringLiteral("VW Kate");
    EXPECT_TRUE(speaker.preferredVoiceInstalled());
}

TEST_F(SpeakerTest, SpeechThatCannotBePlayedLetsTheCallerGoOn) {
    switchTo("true");
    engine.voices << QStringLiteral("VW Kate");
    engine.playable = false;
    speaker.SpeakWord(QStringLiteral("apple"));
    engine.selectable = false;
    engine.playable = true;
    speaker.SpeakWord(QStringLiteral("apple"));  // listed but not selectable: default voice
    ASSERT_EQ(engine.spoken.size(), 1u);
    EXPECT_EQ(engine.spoken[0].voice, QString());
    EXPECT_EQ(engine.spoken[0].rate, 0);
    engine.available = false;
    speaker.SpeakText(QStringLiteral("oh"));  // no speech support at all
    EXPECT_FALSE(speaker.preferredVoiceInstalled());
}

// The real engine over a program folder whose path espeak-ng could not take as it stands
// (upper case, a "+", longer than it reads), holding the program's own voice file.
TEST(EspeakEngine, ListsSelectsAndSpeaksTheProgramsOwnVoiceIntoMemory) {
    QTemporaryDir top;
    ASSERT_TRUE(top.isValid());
    const std::filesystem::path folder =
        std::filesystem::path(top.path().toStdString()) / "Program Folder+Voices" / "VocabTrainer";
    std::filesystem::create_directories(folder);
    const auto voiceFile = folder / "vw_kate.voice";
    std::filesystem::copy_file(QM_SOURCE_DIR "/data/vw_kate.voice", voiceFile);

    speech::EspeakEngine engine(speech::EspeakEngine::Output::Memory, folder);
    auto voice = engine.createVoice();
    ASSERT_TRUE(voice);
    const QStringList voices = voice->voiceDescriptions();
    EXPECT_GT(voices.size(), 10);
    EXPECT_EQ(voices.count(QStringLiteral("VW Kate")), 1);
    for (const QString& v : voices) {
        EXPECT_FALSE(v.isEmpty());
    }
    ASSERT_TRUE(voice->selectVoiceByName(QStringLiteral("VW Kate")));
    const auto samplesOf = [&](const char* text) {
        const auto before = engine.samplesProduced();
        EXPECT_TRUE(voice->speak(QString::fromUtf8(text)));
        return engine.samplesProduced() - before;
    };
    const auto normal = samplesOf("welcome to test your vocabulary");
    EXPECT_GT(normal, 30000u);
    EXPECT_LT(normal, 90000u);
    const auto word = samplesOf("daughter");
    voice->setRate(speech::kSlowRate);
    const auto slowWord = samplesOf("daughter");
    EXPECT_GT(word, 5000u);
    EXPECT_GT(slowWord * 10, word * 13) << "the slow rate barely slows the headword";

    // Every voice object looks at the folder anew: without the file the voice is gone.
    std::filesystem::remove(voiceFile);
    auto later = engine.createVoice();
    EXPECT_FALSE(later->voiceDescriptions().contains(QStringLiteral("VW Kate")));
    EXPECT_FALSE(later->selectVoiceByName(QStringLiteral("VW Kate")));
    EXPECT_TRUE(later->speak(QStringLiteral("oh")));  // the default voice still speaks
}

TEST(EspeakEngine, RateScaleMapsOntoWordsPerMinute) {
    EXPECT_EQ(speech::EspeakEngine::wordsPerMinute(0), 175);
    EXPECT_LT(speech::EspeakEngine::wordsPerMinute(-6), 175);
    EXPECT_GE(speech::EspeakEngine::wordsPerMinute(-10), 80);
    EXPECT_LE(speech::EspeakEngine::wordsPerMinute(10), 450);
    EXPECT_EQ(speech::EspeakEngine::wordsPerMinute(99), speech::EspeakEngine::wordsPerMinute(10));
}

}  // namespace
