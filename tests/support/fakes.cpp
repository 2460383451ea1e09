#include "tests/support/fakes.h"

namespace testing_support {

namespace {

class FakeVoice final : public speech::Voice {
  public:
    explicit FakeVoice(FakeSpeechEngine& engine) : engine_(engine) {}
    QStringList voiceDescriptions() override { return engine_.voices; }
    bool selectVoiceByName(const QString& name) override {
        if (!engine_.selectable || !engine_.voices.contains(name)) {
            return false;
        }
        voice_ = name;
        return true;
    }
    void setRate(int rate) override { rate_ = rate; }
    bool speak(const QString& text) override {
        if (!engine_.playable) {
            return false;
        }
        engine_.spoken.push_back({text, voice_, rate_});
        return true;
    }

  private:
    FakeSpeechEngine& engine_;
    QString voice_;
    int rate_ = 0;
};

}  // namespace

std::unique_ptr<speech::Voice> FakeSpeechEngine::createVoice() {
    if (!available) {
        return nullptr;
    }
    ++created;
    return std::make_unique<FakeVoice>(*this);
}

}  // namespace testing_support
