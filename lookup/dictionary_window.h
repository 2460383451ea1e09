#pragma once

#include "core/window_services.h"
#include "speech/speech.h"
#include "ui/picture.h"
#include "words/word_store.h"

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

/// The dictionary window: looks up English words and Chinese texts in the word database and
/// carries the maintainer's four upkeep tools.
///
/// Its handlers keep the names of the window's events (Form_Load, Image2_Click, ...); each one
/// runs its body through the failure path. dictionary_window.cpp holds the controls, the load,
/// the look-up and leaving; dictionary_upkeep.cpp the upkeep tools.
class Form4 : public QWidget {
    Q_OBJECT
  public:
    explicit Form4(const core::WindowServices& services, QWidget* parent = nullptr);
    ~Form4() override;

    // ---- Handlers ------------------------------------------------------------------------
    /// Load: shows the upkeep buttons only when the maintainer's import file exists, then
    /// opens the word table in headword order. Runs by itself when the window is first shown.
    void Form_Load();
    /// The search picture: looks up the entry of Text1 and shows the result in Text2.
    void Image2_Click();
    /// A key typed into Text1: Enter (13) runs the look-up; the key still reaches the box.
    void Text1_KeyPress(int keyAscii);
    /// The exit picture: closes the word table, shows the start window, unloads this one.
    void Image3_Click();

    void Image1_MouseMove();
    void Image2_MouseMove();
    void Image3_MouseMove();

    // ---- Upkeep tools (shown only to the maintainer) -------------------------------------
    /// Import: adds every word line of the maintainer's import file to the word table.
    void Command1_Click();
    /// Gloss check: re-opens the word table and shows every gloss without a meaning.
    void Command2_Click();
    /// Gloss clean-up: writes ". . . " as "..." in every gloss.
    void Command3_Click();
    /// Walk: moves through the whole word table.
    void Command4_Click();

    // ---- The hex text codec of the stored glosses ----------------------------------------
    QString GBToHex(const QString& text) const;
    QString HexToGB(const QString& hex) const;

    // ---- Controls ------------------------------------------------------------------------
    ui::Picture* Image1 = nullptr;    // background picture
    QLabel* Label1 = nullptr;         // the prompt
    QLineEdit* Text1 = nullptr;       // the entry
    QPlainTextEdit* Text2 = nullptr;  // the result
    QPlainTextEdit* Text3 = nullptr;  // hidden: the result list being built
    ui::Picture* Image2 = nullptr;    // search picture
    ui::Picture* Image3 = nullptr;    // exit picture
    QPushButton* Command1 = nullptr;  // import
    QPushButton* Command2 = nullptr;  // gloss check
    QPushButton* Command3 = nullptr;  // gloss clean-up
    QPushButton* Command4 = nullptr;  // walk
    /// 1 exit normal, 2 exit hover, 3 search hover, 4 search normal.
    ui::ImageList ImageList1;

    // ---- Window state --------------------------------------------------------------------
    words::StorePair mWords;  // mConn + mRs: the word table in headword order
    int mSuggested = 0;       // 1 once the running English look-up has listed a near match

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void loadArtwork();
    void connectHandlers();

    /// Opens mConn and mRs on the word table in headword order (the load's store steps).
    void openWords();
    void lookUp();
    void lookUpEnglish(const QString& entry);
    void lookUpChinese(const QString& entry);
    void showResult(const QString& text);

    void importWords();
    void checkGlosses();
    void cleanGlosses();
    void walkWords();

    bool guarded(const std::function<void()>& body);

    core::WindowServices mServices;
    speech::Speaker mSpeaker;
    bool mLoaded = false;
};
