#pragma once

#include "core/window_services.h"
#include "speech/speech.h"
#include "ui/picture.h"
#include "words/word_store.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace drill {
class AnswerRow;
}

/// The study window: drills words as six-choice questions and runs the tests.
///
/// Its handlers keep the names of the window's events (Form_Load, Command2_Click, ...). Each
/// public handler runs its body through the failure path; the bodies call each other directly.
/// Source files by role: study_window.cpp (controls, looks, load, activation, leaving),
/// study_window_choices.cpp (the four choice makers), study_window_question.cpp (the question
/// driver), study_window_answer.cpp, study_window_progress.cpp, study_window_evaluation.cpp.
class Form3 : public QWidget {
    Q_OBJECT
  public:
    explicit Form3(const core::WindowServices& services, QWidget* parent = nullptr);
    ~Form3() override;

    // ---- Handlers ------------------------------------------------------------------------
    /// Load: speed grades, maintainer switch, the store opened for the plan, the words in play,
    /// the series size and the start values of the window state.
    void Form_Load();
    /// Activation, once per opening: the play range of the plan or test, the welcome of a test,
    /// then the first question. Runs by itself the first time the window is shown, unless it
    /// has already run.
    void Form_Activate();
    /// The learner picked a speed grade.
    void Combo1_Click();
    /// The exit picture: saves the automatic level, closes the store, shows the start window
    /// and unloads this one.
    void Image4_Click();
    /// The start picture: runs the question driver.
    void Image5_Click();
    /// The question driver: the next question, or the series evaluation when the series is full.
    void Command2_Click();
    /// The answer handler: a mouse release over answer row `index` (the index plays no part).
    void Option1_MouseUp(int index);

    // ---- Hover looks ---------------------------------------------------------------------
    void Frame1_MouseMove();
    void Option1_MouseMove(int index);
    void Image1_MouseMove();
    void Image4_MouseMove();
    void Image5_MouseMove();

    // ---- Choice makers: one distractor each; `chooseword` is the right row's caption ------
    /// A gloss of the main list with the same part-of-speech prefix as `chooseword`.
    QString chooseselect(const QString& chooseword);
    /// A verb of the main list as a verb answer text ("run v.跑(vbl)").
    QString chooseselectverb(const QString& chooseword);
    /// An entry of the new-word list (a verb form resolved through the word database).
    QString chooseselect2(const QString& chooseword);
    /// Any gloss of the main list.
    QString chooseselectart(const QString& chooseword);

    // ---- The hex text codec of the stored glosses ----------------------------------------
    QString GBToHex(const QString& text) const;
    QString HexToGB(const QString& hex) const;

    // ---- Controls ------------------------------------------------------------------------
    ui::Picture* Image1 = nullptr;  // background picture
    QLineEdit* Text1 = nullptr;     // the question's headword
    QLabel* Label1 = nullptr;       // verdict line
    QLineEdit* Text2 = nullptr;     // qmuse of the question word (maintainer only)
    QFrame* Frame1 = nullptr;       // holds the answer rows
    /// Answer rows: 0..4 and 6 visible, 5 the hidden staging row, 7 the hidden row that takes
    /// the selection after an answer.
    std::array<drill::AnswerRow*, 8> Option1{};
    QPushButton* Command1 = nullptr;        // focus target
    QPushButton* Command2 = nullptr;        // hidden; its click is the question driver
    ui::Picture* Image2 = nullptr;          // frame of the progress bar
    std::array<ui::Picture*, 10> Image3{};  // bar cells, 0 leftmost
    ui::Picture* Image5 = nullptr;          // start picture
    ui::Picture* Image4 = nullptr;          // exit picture
    QLabel* Label4 = nullptr;               // "难度选择："
    QComboBox* Combo1 = nullptr;            // speed grade
    QLabel* Label2 = nullptr;               // new-word count
    QLabel* Label3 = nullptr;               // practice count
    ui::ImageList ImageList1;               // 1 退出 dark, 2 退出 light
    ui::ImageList ImageList2;               // 1 开始 light, 2 开始 dark

    // ---- Window state (reset by every opening; set up by the load) -----------------------
    double mPaceLimit = 0;    // questions per level step before the level may rise
    int mInPlayCount = 0;     // words in play, stored as check/WordNumber
    int mRoundSize = 0;       // series size: 50, 100 or 200
    double mWordCount = 0;    // check/WordNumber read at load: the draw bound of the main list
    int mQuestionNo = 0;      // number of the current question in the series
    int mFirstTryRight = 0;   // series score
    QString mChoiceText;      // answer text being placed
    int mWindowStep = 0;      // size of the automatic window
    int mPaceCount = 0;       // questions since the last level change
    int mLastRightSlot = 0;   // right answer's position in the previous driver deal (0..5)
    double mAutoLevel = 0;    // automatic level, saved on leaving
    std::int32_t mTries = 0;  // tries on the current question
    /// [0] the row of the right answer (0..5, 6 after the staging remap), [1..5] the rows of
    /// the five distractors; [6] is not used.
    std::array<int, 7> mChoiceSlot{};
    double mRangeFirst = 0;           // play range: first 1-based position
    double mRangeLast = 0;            // play range: last 1-based position
    int mFallibleCount = 0;           // new-word list rows at load (draw bound of chooseselect2)
    int mListBarBase = 0;             // pending new words at load minus 20
    int mListScanPos = 0;             // number of the first pending row at load
    int mWordPos = 0;                 // 1-based position of the question word in its list
    int mButtonIndex = 0;             // loop counter of permutation positions and distractors
    int mInnerIndex = 0;              // loop counter of the permutation's duplicate test
    QString mCurWord;                 // question's qmword (main list only)
    QString mCurNote;                 // question's qmnote, stored form (main list only)
    double mCurUse = 0;               // question's qmuse (main list only)
    QString mVerbChoice;              // "yes" while the question is a verb form, else "no"
    QString mMissMark;                // "ok" after the question's first miss
    QString mListMark;                // "exist" / "unexist": outcome of the new-word list look-up
    int mDrawPos = 0;                 // 1-based position of the last distractor draw
    std::int32_t mDrawUse = 0;        // qmuse of the last distractor's row, rounded
    QString mBaseWord;                // word part of the last verb answer text
    std::int32_t mVocabEstimate = 0;  // estimate of the vocabulary-size test just finished
    words::StorePair mMain;           // mMainConn + mMainRs: word table or weeding copy
    words::StorePair mNew;            // mNewConn + mNewRs: the new-word list

    // ---- Shared helpers of the handlers --------------------------------------------------
    /// The question driver's body (unguarded): callers inside a handler use this one.
    void runDriver();
    /// The progress bar and the automatic level, once per driver call.
    void ShowProgress();
    /// The end of a full series: verdict, statistics, resets.
    void evaluateSeries();

    /// Reseeds the generator from the time of day, then draws r in [0, 1).
    double drawRandom();
    /// A random order of 0..5 into mChoiceSlot(0..5): each position reseeds once, then draws
    /// floor(6 r) again (without reseeding) while the value is taken.
    void drawPermutation();
    /// A right answer in position 5 is shown and judged on row 6: mChoiceSlot(0) 5 becomes 6,
    /// row 6 takes row 5's caption and point size.
    void stagingRemap();
    /// Moves to the first row, then pos - 1 rows on.
    static void positionAt(words::Recordset& rs, int pos);

    void setRowFontSize(int row, double pointSize);
    void setRowBackColour(int row, const QColor& colour);
    void setRowTextColour(int row, const QColor& colour);
    QColor rowBackColour(int row) const;
    QColor rowTextColour(int row) const;
    QColor text1Colour() const;

    /// Bar cells: all hidden; cells 0 .. count - 1 shown (count clamped to 0..10); one cell.
    void hideAllCells();
    void lightCells(int count);
    void lightCell(int index);
    int litCellCount() const;

    void pumpEvents();
    void SpeakWord(const QString& text);
    void SpeakText(const QString& text);
    /// Runs `speak` with the focus button enabled and focused before and after it, so that no
    /// answer row holds the focus while the window speaks.
    void speakFocused(const std::function<void()>& speak);
    /// Runs a handler body; an error goes to the failure path and ends the handler.
    bool guarded(const std::function<void()>& body);

    core::WindowServices mServices;
    speech::Speaker mSpeaker;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void loadArtwork();
    void connectHandlers();

    // Load and activation steps.
    void loadBody();
    void activateBody();
    void setTestRange(const QString& testKind);
    void setLearnRange(const QString& plan);
    void setAutomaticRange(const QString& plan);
    void leaveBody();

    // Question driver steps.
    void prelude();
    /// Draws a question word from the main list, or from the new-word list in the new-word
    /// plan, and deals its six answers; `inTest` when the activity is a test.
    void buildQuestion(bool fromNewWordList, bool inTest);
    /// Draws the question word of the play range (clamped to the list's rows); a row that
    /// fails `qualifies` is drawn again, up to a bound, then the range is scanned. Nothing
    /// when no row of the range qualifies. `afterDraw` runs after every draw.
    std::optional<int> drawQuestionRow(words::Recordset& rs, bool resortList,
                                       const std::function<bool()>& qualifies,
                                       const std::function<void()>& afterDraw);
    bool questionRowQualifies(const words::Recordset& rs, bool testFilter) const;
    void dealPermutationAndRight(const QString& rightGloss);
    void resolveRightVerb(words::Recordset& lookup);
    void dealDistractors(const std::function<std::optional<QString>(const QString&)>& maker);
    void finishQuestion();
    /// No word of the play range can be asked: no question, the rows take no answer.
    void clearQuestion();
    /// A question is dealt again after clearQuestion: the rows take answers again.
    void reopenRows();
    void applyHeadwordLooks(const words::Recordset& rs);

    // Choice makers' steps.
    struct Drawn {
        QString gloss;     // decoded gloss of the drawn row
        QString headword;  // its qmword text ("" for Null)
    };
    /// One distractor row of the list's first `bound` rows (clamped to its rows) that passes
    /// `accept`; bounded redraws, then a scan. Sets mDrawPos and mDrawUse.
    std::optional<Drawn> drawDistractorRow(words::Recordset& rs, double bound,
                                           const std::function<bool(const Drawn&)>& accept);
    /// The gloss of the first row of the whole list whose headword equals `base`.
    std::optional<QString> lookUpBase(words::Recordset& rs, const QString& base) const;
    /// The base gloss when a headword of `rs` equals `base` (mBaseWord then becomes `base`);
    /// otherwise the base itself.
    QString resolveBase(words::Recordset& rs, const QString& base);
    std::optional<QString> makeSamePrefix(const QString& chooseword);
    std::optional<QString> makeVerb(const QString& chooseword);
    std::optional<QString> makeFromNewWordList(const QString& chooseword);
    std::optional<QString> makeAny(const QString& chooseword);

    bool mLoaded = false;
    bool mActivated = false;
    bool mNoQuestion = false;  // the last driver call found no word to ask

    // Answer handling, progress and evaluation
    void answerBody();
    void answerRight();
    /// The plan's change to the answered word; false when the plan ended and the handling
    /// ends with it.
    bool rightPlanStep();
    bool weedingRightStep();
    bool newWordRightStep();
    /// The question's row one lower in qmdelete; a word that falls below the plan's mark
    /// retires: the range ends one earlier, the plan's count of words left falls by one and
    /// the list is re-sorted.
    void stepTowardsRetirement(words::Recordset& rs, bool weeding);
    void completeWeeding();
    void newWordListRunLow();
    void answerWrong();
    /// The same question dealt again: a new order of the rows and five new distractors.
    void redeal(bool newWordPlan);
    /// Deselects rows 0 .. last, letting pending events run after each when `pump`.
    void deselectRows(int last, bool pump);
    /// One second on the clock while window events keep running.
    void answerPause();
    /// Runs one step of the right path; after a retirement a failing step is skipped.
    void answerStep(const std::function<void()>& step);
    /// A question is on screen to be judged (not after a verdict or before the first one).
    bool questionOnScreen() const;
    void closeAnswerGate(bool closed);

    bool mAnswering = false;         // an answer is being handled
    bool mSkipFailures = false;      // after a retirement: the rest of the right path
    QObject* mAnswerGate = nullptr;  // drill::InputGate over the rows and picture buttons

  public:
    /// True while an answer is being handled (clicks on the rows and pictures are held off).
    bool answerInProgress() const { return mAnswering; }
};
