#pragma once

#include "tests/drill/study_window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <random>

namespace answer_testing {

/// A study window answered through clicks on its rows, as the learner does.
class AnswerTest : public study_testing::StudyWindowTest {
  protected:
    /// Varied draws for everything that follows: question words, row orders, distractors.
    void shuffledDraws(unsigned seed = 7, int count = 40000) {
        std::mt19937 g(seed);
        std::uniform_real_distribution<double> r(0.0, 1.0);
        for (int i = 0; i < count; ++i) {
            random().script.push_back(r(g));
        }
    }

    /// The services of the fixture with another store or clock.
    core::WindowServices servicesWith(settings::Store* store, core::Clock* clock = nullptr) {
        return testing_support::replaced(fake.services(), {.store = store, .clock = clock});
    }
    Form3& openWith(const core::WindowServices& services) {
        window = std::make_unique<Form3>(services);
        window->Form_Load();
        window->Form_Activate();
        return *window;
    }

    /// The row that holds the right answer of the question on screen.
    int rightRow() const { return window->mChoiceSlot[0]; }
    /// A visible row with another answer.
    int wrongRow() const {
        for (int i : {0, 1, 2, 3, 4, 6}) {
            if (i != rightRow()) {
                return i;
            }
        }
        return -1;
    }
    void click(int i) {
        drill::AnswerRow* r = window->Option1[static_cast<size_t>(i)];
        QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(8, r->height() / 2));
    }
    void answerRight() { click(rightRow()); }
    void answerWrong() { click(wrongRow()); }
    void clickStartPicture() { QTest::mouseClick(window->Image5, Qt::LeftButton); }

    /// A store that reads the files afresh, as another program would.
    QString stored(const settings::Key& key) const {
        settings::IniStore outside(fake.folders.settingsFolder());
        return outside.read(key);
    }
    std::vector<words::WordEntry> fileRows(const char* file, const char* table) const {
        return testing_support::readRows(fake.folders.paths.file(file), table);
    }
    std::optional<words::WordEntry> fileRow(const char* file, const char* table,
                                            const QString& word) const {
        for (const auto& row : fileRows(file, table)) {
            if (row.qmword == word) {
                return row;
            }
        }
        return std::nullopt;
    }
    std::vector<words::WordEntry> newWordList() const {
        return fileRows(words::kNewWordFile, words::kNewWordTable);
    }
    int speechCount(const QString& text) const { return static_cast<int>(spoken().count(text)); }
    bool anyRowChecked() const {
        for (const drill::AnswerRow* row : window->Option1) {
            if (row->isChecked()) {
                return true;
            }
        }
        return false;
    }
};

/// Numbered words "w1".. with glosses "n.词1".., all in play, highest first.
inline std::vector<words::WordEntry> numberedWords(int n) {
    std::vector<words::WordEntry> rows;
    for (int i = 1; i <= n; ++i) {
        rows.push_back(testing_support::entry(QStringLiteral("w%1").arg(i),
                                              QStringLiteral("n.词%1").arg(i), n + 30 - i));
    }
    return rows;
}

}  // namespace answer_testing
