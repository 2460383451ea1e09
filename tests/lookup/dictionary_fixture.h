#pragma once

#include "core/site.h"
#include "lookup/dictionary_window.h"
#include "settings/keys.h"
#include "tests/support/fakes.h"
#include "tests/support/folders.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace dictionary_testing {

using testing_support::entry;

inline QString u(const char* text) {
    return QString::fromUtf8(text);
}

/// A dictionary window over fresh folders and fakes; the test chooses the words.
class DictionaryWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ui::installFontSubstitutions(); }

    void words(const std::vector<words::WordEntry>& rows) {
        fake.folders.writeWordFile(words::kWordFile, rows);
    }
    /// Rows "headword  gloss" with qmuse 100 and qmdelete 10.
    void words(std::initializer_list<std::pair<const char*, const char*>> rows) {
        std::vector<words::WordEntry> entries;
        for (const auto& [word, gloss] : rows) {
            entries.push_back(entry(u(word), u(gloss), 100));
        }
        words(entries);
    }
    void speechOn() {
        fake.folders.store().write(settings::keys::voiceSwitch, QStringLiteral("true"));
    }

    /// Makes the window and runs its load.
    Form4& load() {
        window = std::make_unique<Form4>(fake.services());
        window->Form_Load();
        return *window;
    }
    /// Types the entry and clicks the search picture.
    void lookUp(const QString& entry) {
        window->Text1->setText(entry);
        window->Image2_Click();
    }
    void lookUp(const char* entry) { lookUp(u(entry)); }

    /// The result as the box holds it: every CR LF of the result text is one line break.
    QString result() const { return window->Text2->toPlainText(); }
    static QString shown(const QString& resultText) {
        QString text = resultText;
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    static QString shown(const char* resultText) { return shown(u(resultText)); }
    static QString notFound() {
        return shown(u("对不起，本词典中暂时没有这个词！\r\n请到") + core::site::siteAddress() +
                     u("网站告诉软件作者尽快增加这个词汇，谢谢！"));
    }

    QStringList spoken() const {
        QStringList texts;
        for (const auto& utterance : fake.speech.spoken) {
            texts << utterance.text;
        }
        return texts;
    }
    void expectNoFailure() const {
        EXPECT_TRUE(fake.failure.messages.isEmpty())
            << fake.failure.messages.join('\n').toStdString();
    }

    testing_support::FakeServices fake;
    std::unique_ptr<Form4> window;
};

}  // namespace dictionary_testing
