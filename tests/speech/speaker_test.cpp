#include "speech/espeak_engine.h"
#include "speech/speech.h"

#include "settings/keys.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

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

TEST(EspeakEngine, SynthesisesSamplesIntoMemory) {
    speech::EspeakEngine engine(speech::EspeakEngine::Output::Memory);
    auto voice = engine.createVoice();
    ASSERT_TRUE(voice);
    const QStringList voices = voice->voiceDescriptions();
    EXPECT_GT(voices.size(), 10);
    for (const QString& v : voices) {
        EXPECT_FALSE(v.isEmpty());
    }
    EXPECT_FALSE(voice->selectVoiceByName(QStringLiteral("VW Kate")));
    const auto before = engine.samplesProduced();
    ASSERT_TRUE(voice->speak(QStringLiteral("welcome to test your vocabulary")));
    const auto normal = engine.samplesProduced() - before;
    EXPECT_GT(normal, 30000u);
    EXPECT_LT(normal, 90000u);
    voice->setRate(-6);
    ASSERT_TRUE(voice->speak(QStringLiteral("welcome to test your vocabulary")));
    EXPECT_GT(engine.samplesProduced() - before - normal, normal);  // slower speech is longer
}

TEST(EspeakEngine, RateScaleMapsOntoWordsPerMinute) {
    EXPECT_EQ(speech::EspeakEngine::wordsPerMinute(0), 175);
    EXPECT_LT(speech::EspeakEngine::wordsPerMinute(-6), 175);
    EXPECT_GE(speech::EspeakEngine::wordsPerMinute(-10), 80);
    EXPECT_LE(speech::EspeakEngine::wordsPerMinute(10), 450);
    EXPECT_EQ(speech::EspeakEngine::wordsPerMinute(99), speech::EspeakEngine::wordsPerMinute(10));
}

}  // namespace
