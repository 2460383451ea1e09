// Load, activation, speed grade and leaving of the study window.
#include "tests/drill/study_window_fixture.h"

#include "core/numbers.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

#include <filesystem>

namespace {

using namespace study_testing;
namespace keys = settings::keys;

using StudySetup = StudyWindowTest;

TEST_F(StudySetup, AutolargeAtStoredLevelTwoAndAHalf) {
    fake.folders.writeNumberedWords(15000);
    learn("autolarge");
    store().write(keys::autoIautoflag, QStringLiteral("2.5"));
    Form3& w = open();
    expectNoFailure();
    EXPECT_EQ(store().read(keys::checkWordNumber), QStringLiteral("15000"));
    EXPECT_EQ(w.mWordCount, 15000);
    EXPECT_EQ(w.mWindowStep, 750);
    EXPECT_EQ(w.mAutoLevel, 2.5);
    EXPECT_EQ(litCells(), (std::vector<int>{0, 1}));
    EXPECT_EQ(w.mRangeFirst, 3750);
    EXPECT_EQ(w.mRangeLast, 4500);
    EXPECT_GE(w.mWordPos, 3750);
    EXPECT_LE(w.mWordPos, 4500);
}

TEST_F(StudySetup, StoredLevelIsClampedAtActivation) {
    fake.folders.writeNumberedWords(1000);
    const struct {
        const char* stored;
        double level;
        double first, last;
        int cells;
    } cases[] = {{"12", 10, 1000, 1050, 10}, {"-1", 0, 1, 50, 0}, {"0", 0, 1, 50, 0}};
    for (const auto& c : cases) {
        learn("autolarge");
        store().write(keys::autoIautoflag, QString::fromUtf8(c.stored));
        Form3& w = open();
        expectNoFailure();
        EXPECT_EQ(w.mAutoLevel, c.level) << c.stored;
        EXPECT_EQ(w.mRangeFirst, c.first) << c.stored;
        EXPECT_EQ(w.mRangeLast, c.last) << c.stored;
        EXPECT_EQ(static_cast<int>(litCells().size()), c.cells) << c.stored;
        EXPECT_LE(w.mWordPos, 1000) << c.stored;  // never past the last row
    }
}

TEST_F(StudySetup, FreshMachineAutomaticPlanPlaysTheFirstWindow) {
    fake.folders.writeNumberedWords(400);
    learn("automiddle");
    Form3& w = open();
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("10"));
    EXPECT_EQ(w.mPaceLimit, 9);
    EXPECT_EQ(w.mAutoLevel, 0);
    EXPECT_EQ(w.mWindowStep, 8);
    EXPECT_EQ(w.mRangeFirst, 1);
    EXPECT_EQ(w.mRangeLast, 8);
    EXPECT_TRUE(litCells().empty());
    EXPECT_EQ(store().read(keys::checkLearnedtime), QStringLiteral("0"));
    EXPECT_EQ(w.Combo1->count(), 12);
    EXPECT_EQ(w.Combo1->itemText(0), QStringLiteral("1 "));
    EXPECT_EQ(w.Combo1->itemText(11), QStringLiteral("12 "));
}

TEST_F(StudySetup, SpeedGradeSetsThePaceLimit) {
    fake.folders.writeNumberedWords(20);
    learn("600");
    const struct {
        const char* stored;
        double limit;
    } cases[] = {{"12 ", 3}, {"1 ", 36}, {"", 9}};
    for (const auto& c : cases) {
        store().write(keys::checkCombo, QString::fromUtf8(c.stored));
        Form3& w = load();
        EXPECT_EQ(w.mPaceLimit, c.limit) << c.stored;
    }
    // Picking "7 " stores it with its blank.
    Form3& w = load();
    w.Combo1->setCurrentIndex(6);
    w.Combo1_Click();
    EXPECT_EQ(store().read(keys::checkCombo), QStringLiteral("7 "));
    EXPECT_EQ(w.mPaceLimit, 18);
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("7 "));
}

TEST_F(StudySetup, SeriesSizes) {
    fake.folders.writeNumberedWords(20);
    const struct {
        bool isTest;
        const char* name;
        int size;
    } cases[] = {{true, "high", 200},     {true, "normal", 100},   {true, "all", 50},
                 {true, "cet4", 50},      {false, "600", 50},      {false, "delete", 50},
                 {false, "fallible", 50}, {false, "autosmall", 50}};
    for (const auto& c : cases) {
        c.isTest ? test(c.name) : learn(c.name);
        Form3& w = load();
        expectNoFailure();
        EXPECT_EQ(w.mRoundSize, c.size) << c.name;
        EXPECT_EQ(w.mQuestionNo, 1) << c.name;
    }
}

TEST_F(StudySetup, MaintainerFileCountsLowUseWordsAndKeepsTheUseBox) {
    words({entry("a", "n.一", 40), entry("b", "n.二", 30), entry("c", "n.三", 29),
           entry("d", "n.四", 3), entry("e", "n.五", 2), entry("f", "n.六", 50)});
    learn("3000");
    Form3& plain = load();
    EXPECT_EQ(plain.mInPlayCount, 3);  // 50, 40 and 30
    EXPECT_EQ(store().read(keys::checkWordNumber), QStringLiteral("3"));
    EXPECT_TRUE(plain.Text2->isHidden());

    // A folder of the file's name is no file.
    std::filesystem::create_directories(fake.folders.paths.maintainerFile);
    EXPECT_EQ(load().mInPlayCount, 3);
    EXPECT_TRUE(window->Text2->isHidden());
    std::filesystem::remove(fake.folders.paths.maintainerFile);

    fake.folders.createMaintainerFile();
    Form3& maintainer = load();
    EXPECT_EQ(maintainer.mInPlayCount, 5);  // 29 and 3 as well; the count stops at 2
    EXPECT_EQ(store().read(keys::checkWordNumber), QStringLiteral("5"));
    EXPECT_EQ(maintainer.mWordCount, 5);
    EXPECT_FALSE(maintainer.Text2->isHidden());
}

TEST_F(StudySetup, LoadSetsTheStartValues) {
    fake.folders.writeNumberedWords(30);
    test("all");
    store().write(keys::checkLearnedtime, QStringLiteral("12"));
    store().write(keys::autoIautoflag, QStringLiteral("12"));
    Form3& w = load();
    expectNoFailure();
    EXPECT_EQ(store().read(keys::checkWordNumber), QStringLiteral("30"));
    EXPECT_EQ(store().read(keys::checkLearnedtime), QStringLiteral("12"));
    EXPECT_EQ(w.mAutoLevel, 12);  // not clamped at load
    EXPECT_EQ(w.mTries, 1);
    EXPECT_EQ(w.mPaceCount, 1);
    EXPECT_EQ(w.mLastRightSlot, 1);
    EXPECT_EQ(w.mInPlayCount, 0);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(w.mChoiceSlot[static_cast<size_t>(i)], 1);
    }
    EXPECT_TRUE(litCells().empty());
    EXPECT_FALSE(rowShown(5));
    EXPECT_FALSE(rowShown(7));
    for (int i : {0, 1, 2, 3, 4, 6}) {
        EXPECT_TRUE(rowShown(i)) << i;
        EXPECT_TRUE(row(i).isEmpty()) << i;
    }
}

TEST_F(StudySetup, MissingNewWordListIsRestoredFromItsTemplate) {
    fake.folders.writeNumberedWords(30);
    std::filesystem::remove(fake.folders.paths.file(words::kNewWordFile));
    store().write(keys::checkFallible, QStringLiteral("7"));
    store().write(keys::autoFallible, QStringLiteral("7"));
    learn("600");
    load();
    expectNoFailure();
    EXPECT_TRUE(std::filesystem::exists(fake.folders.paths.file(words::kNewWordFile)));
    EXPECT_EQ(store().read(keys::checkFallible), QStringLiteral("0"));
    EXPECT_EQ(store().read(keys::autoFallible), QStringLiteral("0"));
}

TEST_F(StudySetup, WeedingPlanPlaysTheWholeCopyFirst) {
    fake.folders.writeNumberedWords(40);
    learn("delete");
    Form3& w = open();
    expectNoFailure();
    EXPECT_TRUE(std::filesystem::exists(fake.folders.paths.file(words::kWeedingFile)));
    EXPECT_EQ(store().read(keys::modeDelete), QStringLiteral("delete"));
    EXPECT_EQ(store().read(keys::checkWordNumber), QStringLiteral("40"));
    EXPECT_EQ(store().read(keys::autoDelete), QStringLiteral("40"));
    EXPECT_EQ(w.mRangeFirst, 1);
    EXPECT_EQ(w.mRangeLast, 40);

    store().write(keys::autoDelete, QStringLiteral("25"));
    Form3& again = open();
    EXPECT_EQ(again.mRangeLast, 25);
}

TEST_F(StudySetup, NewWordPlanPlaysThePendingRows) {
    fake.folders.writeNumberedWords(40);
    std::vector<words::WordEntry> list;
    for (int i = 0; i < 30; ++i) {
        list.push_back(entry(QStringLiteral("x%1").arg(i), QStringLiteral("n.字%1").arg(i), 40,
                             i < 5 ? 3 : 12));
    }
    fake.folders.writeWordFile(words::kNewWordFile, list, words::kNewWordTable);
    store().write(keys::checkWordNumber, QStringLiteral("40"));
    learn("fallible");
    Form3& w = open();
    expectNoFailure();
    EXPECT_EQ(store().read(keys::checkFallible), QStringLiteral("30"));
    EXPECT_EQ(store().read(keys::autoFallible), QStringLiteral("25"));
    EXPECT_EQ(store().read(keys::checkWordNumber), QStringLiteral("40"));  // not written
    EXPECT_EQ(w.mFallibleCount, 30);
    EXPECT_EQ(w.mListBarBase, 5);
    EXPECT_EQ(w.mRangeFirst, 1);
    EXPECT_EQ(w.mRangeLast, 25);
    EXPECT_FALSE(w.mMain.isOpen());
    EXPECT_TRUE(w.Text1->text().startsWith(QLatin1Char('x')));
}

TEST_F(StudySetup, TestWelcomeIsFollowedByTheFirstQuestion) {
    fake.folders.writeNumberedWords(30);
    speechOn();
    test("cet4");
    Form3& w = open();
    expectNoFailure();
    // The word table has 30 rows: the cet4 range lies past them, so nothing is asked.
    EXPECT_EQ(spoken(), QStringList{QStringLiteral("welcome to test your vocabulary")});
    EXPECT_TRUE(w.Text1->text().isEmpty());

    test("all");
    fake.speech.spoken.clear();
    Form3& all = open();
    ASSERT_EQ(spoken().size(), 2);
    EXPECT_EQ(spoken().at(0), QStringLiteral("welcome to test your vocabulary"));
    EXPECT_EQ(spoken().at(1), all.Text1->text());
    EXPECT_FALSE(all.Text1->text().isEmpty());
    EXPECT_EQ(all.mRangeLast, 30);
}

TEST_F(StudySetup, LeavingStoresTheRoundedLevelOnlyInLearning) {
    fake.folders.writeNumberedWords(100);
    learn("autolarge");
    Form3& w = open();
    w.mAutoLevel = 2.34567;
    w.Image4_Click();
    expectNoFailure();
    EXPECT_EQ(store().read(keys::autoIautoflag), QStringLiteral("2.346"));
    ASSERT_EQ(fake.navigator.shown.size(), 1u);
    EXPECT_EQ(fake.navigator.shown[0], core::WindowKind::Start);
    EXPECT_FALSE(w.mMain.isOpen());
    EXPECT_FALSE(w.mNew.isOpen());

    learn("600");
    Form3& high = open();
    high.mAutoLevel = 11.2;
    high.Image4_Click();
    EXPECT_EQ(store().read(keys::autoIautoflag), QStringLiteral("10"));

    test("all");
    store().write(keys::autoIautoflag, QStringLiteral("7.5"));
    Form3& t = open();
    t.mAutoLevel = 3;
    t.Image4_Click();
    EXPECT_EQ(store().read(keys::autoIautoflag), QStringLiteral("7.5"));
    EXPECT_EQ(fake.navigator.shown.size(), 3u);
}

TEST_F(StudySetup, ShowingTheWindowLoadsAndActivatesItOnce) {
    fake.folders.writeNumberedWords(50);
    speechOn();
    learn("600");
    window = std::make_unique<Form3>(fake.services());
    window->show();
    QCoreApplication::processEvents();
    expectNoFailure();
    EXPECT_EQ(window->mRangeLast, 600);
    EXPECT_FALSE(window->Text1->text().isEmpty());
    EXPECT_EQ(spoken().size(), 1);
    window->hide();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(spoken().size(), 1);  // a second showing does not activate again
}

}  // namespace
