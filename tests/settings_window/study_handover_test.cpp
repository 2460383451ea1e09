// Confirming a choice hands it to a real study window through the settings store: the window
// that the navigator opens loads the plan or test kind that was just stored.
#include "drill/study_window.h"
#include "settings_window_fixture.h"
#include "tests/support/case_names.h"

#include <filesystem>

namespace settings_window_test {
namespace {

namespace keys = settings::keys;
using testing_support::entry;

/// 30 words in play (qmuse above 29) followed by 5 that are not.
std::vector<words::WordEntry> wordTable() {
    std::vector<words::WordEntry> rows;
    for (int i = 1; i <= 35; ++i) {
        rows.push_back(entry(QStringLiteral("w%1").arg(i), QStringLiteral("n.词%1").arg(i),
                             i <= 30 ? 100 - i : 10));
    }
    return rows;
}

/// 25 words on the new-word list, all still pending.
std::vector<words::WordEntry> newWordList() {
    std::vector<words::WordEntry> rows;
    for (int i = 1; i <= 25; ++i) {
        rows.push_back(
            entry(QStringLiteral("m%1").arg(i), QStringLiteral("v.错%1").arg(i), 50, 10));
    }
    return rows;
}

struct HandoverCase {
    int tab;
    int option;  // picked before confirming
    const char* storedValue;
    // What the study window's load made of it.
    bool mainListOpen;
    bool newWordListOpen;
    int roundSize;
    const char* wordNumber;  // check/WordNumber after the load
};

class StudyHandover : public SettingsWindow, public ::testing::WithParamInterface<HandoverCase> {
  protected:
    void SetUp() override {
        fakes.folders.writeWordFile(words::kWordFile, wordTable());
        fakes.folders.writeEmptyLists();
        fakes.folders.writeWordFile(words::kNewWordFile, newWordList(), words::kNewWordTable);
        given(keys::autoFallible, QStringLiteral("25"));
        // The study window is made with the same services when the settings window asks.
        navigator.onShow = [this](core::WindowKind kind) {
            ASSERT_EQ(kind, core::WindowKind::Study);
            study = std::make_unique<Form3>(services());
            study->Form_Load();
        };
    }

    std::unique_ptr<Form3> study;
};

TEST_P(StudyHandover, TheStudyWindowLoadsWithTheStoredChoice) {
    const HandoverCase& c = GetParam();
    auto w = open();
    w->SSTab1->setCurrentIndex(c.tab);
    if (c.tab == Form2::kStudyTab) {
        clickOption(w->Option1[static_cast<size_t>(c.option)]);
        click(w->Image3);
    } else {
        clickOption(w->Option2[static_cast<size_t>(c.option)]);
        click(w->Image4);
    }

    ASSERT_TRUE(study);
    EXPECT_TRUE(fakes.failure.messages.isEmpty())
        << fakes.failure.messages.join('\n').toStdString();
    EXPECT_EQ(stored(c.tab == Form2::kStudyTab ? keys::modeLearn : keys::modeTest),
              QString::fromLatin1(c.storedValue));
    EXPECT_EQ(study->mMain.isOpen(), c.mainListOpen);
    EXPECT_EQ(study->mNew.isOpen(), c.newWordListOpen);
    EXPECT_EQ(study->mRoundSize, c.roundSize);
    EXPECT_EQ(stored(keys::checkWordNumber), QString::fromLatin1(c.wordNumber));
    EXPECT_FALSE(w->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Choices, StudyHandover,
    ::testing::Values(
        // A learning plan over the word table counts the words in play.
        HandoverCase{Form2::kStudyTab, 9, "autosmall", true, false, 50, "30"},
        HandoverCase{Form2::kStudyTab, 3, "3000", true, false, 50, "30"},
        // The new-word plan opens the list instead and leaves the word count alone.
        HandoverCase{Form2::kStudyTab, 11, "fallible", false, true, 50, ""},
        // Tests read the whole table; the kind sets the series size.
        HandoverCase{Form2::kTestTab, 7, "high", true, false, 200, "35"},
        HandoverCase{Form2::kTestTab, 6, "normal", true, false, 100, "35"},
        HandoverCase{Form2::kTestTab, 3, "cet4", true, false, 50, "35"}),
    [](const auto& info) {
        return testing_support::caseName(info.param.tab == Form2::kStudyTab ? "plan" : "kind",
                                         info.param.storedValue);
    });

class WeedingHandover : public SettingsWindow {};

TEST_F(WeedingHandover, TheWeedingPlanMakesItsCopyWhenTheStudyWindowLoads) {
    fakes.folders.writeWordFile(words::kWordFile, wordTable());
    fakes.folders.writeEmptyLists();
    std::unique_ptr<Form3> study;
    navigator.onShow = [&](core::WindowKind) {
        study = std::make_unique<Form3>(services());
        study->Form_Load();
    };
    given(keys::modeLearn, QStringLiteral("delete"));
    auto w = open();
    click(w->Image3);
    ASSERT_TRUE(study);
    EXPECT_TRUE(std::filesystem::exists(fakes.folders.paths.file(words::kWeedingFile)));
    EXPECT_EQ(stored(keys::modeDelete), QStringLiteral("delete"));
    EXPECT_EQ(stored(keys::checkWordNumber), QStringLiteral("35"));
}

}  // namespace
}  // namespace settings_window_test
