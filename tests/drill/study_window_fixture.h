#pragma once

#include "drill/answer_row.h"
#include "drill/study_window.h"
#include "settings/keys.h"
#include "tests/support/fakes.h"
#include "tests/support/folders.h"
#include "ui/picture.h"
#include "words/codec.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace study_testing {

using testing_support::entry;

/// A study window over fresh folders and fakes; the test chooses the plan and the words.
class StudyWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::installFontSubstitutions();
        fake.folders.writeEmptyLists();
    }

    settings::Store& store() { return fake.folders.store(); }
    testing_support::ScriptedRandom& random() { return fake.random; }

    void learn(const char* plan) {
        store().write(settings::keys::modeWhichone, QStringLiteral("learn"));
        store().write(settings::keys::modeLearn, QString::fromUtf8(plan));
    }
    void test(const char* kind) {
        store().write(settings::keys::modeWhichone, QStringLiteral("test"));
        store().write(settings::keys::modeTest, QString::fromUtf8(kind));
    }
    void words(const std::vector<words::WordEntry>& rows) {
        fake.folders.writeWordFile(words::kWordFile, rows);
    }
    void speechOn() { store().write(settings::keys::voiceSwitch, QStringLiteral("true")); }

    /// Makes the window and runs its load.
    Form3& load() {
        window = std::make_unique<Form3>(fake.services());
        window->Form_Load();
        return *window;
    }
    /// Load, then activation (which deals the first question).
    Form3& open() {
        load();
        window->Form_Activate();
        return *window;
    }

    QString row(int i) const { return window->Option1[static_cast<size_t>(i)]->text(); }
    bool rowShown(int i) const { return !window->Option1[static_cast<size_t>(i)]->isHidden(); }
    bool cellLit(int i) const { return !window->Image3[static_cast<size_t>(i)]->isHidden(); }
    std::vector<int> litCells() const {
        std::vector<int> lit;
        for (int i = 0; i < 10; ++i) {
            if (cellLit(i)) {
                lit.push_back(i);
            }
        }
        return lit;
    }
    QStringList spoken() const {
        QStringList texts;
        for (const auto& u : fake.speech.spoken) {
            texts << u.text;
        }
        return texts;
    }
    void expectNoFailure() const {
        EXPECT_TRUE(fake.failure.messages.isEmpty())
            << fake.failure.messages.join('\n').toStdString();
    }

    testing_support::FakeServices fake;
    std::unique_ptr<Form3> window;
};

/// The permutation draws that give these six positions (each drawn once, no collision).
inline std::vector<double> permutation(std::initializer_list<int> positions) {
    std::vector<double> r;
    for (int s : positions) {
        r.push_back((s + 0.5) / 6);
    }
    return r;
}

/// The draw that lands on 1-based position p of n: int(r x n + 1) = p.
inline double at(int p, int n) {
    return (p - 0.5) / n;
}

inline void push(testing_support::ScriptedRandom& random, const std::vector<double>& values) {
    random.script.insert(random.script.end(), values.begin(), values.end());
}

}  // namespace study_testing
