// The study window: its controls and looks, load, activation, speed grade and leaving.
#include "drill/study_window.h"

#include "core/numbers.h"
#include "core/real_services.h"
#include "core/text.h"
#include "drill/answer_row.h"
#include "drill/deal_tables.h"
#include "drill/play_ranges.h"
#include "settings/keys.h"
#include "words/codec.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace keys = settings::keys;

namespace {

constexpr int kRowLeft = 40;
constexpr int kRowWidth = 593;
constexpr int kRowHeight = 49;
// Tops of the six visible rows 0..4 and 6, in the frame.
constexpr int kRowTops[] = {24, 80, 136, 192, 248, -1, 304, -1};
constexpr int kCellLefts[] = {332, 347, 364, 380, 396, 412, 427, 443, 458, 474};

void setColours(QWidget* w, QPalette::ColorRole backRole, const QColor& back,
                QPalette::ColorRole textRole, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(backRole, back);
    p.setColor(textRole, text);
    w->setPalette(p);
}

}  // namespace

Form3::Form3(const core::WindowServices& services, QWidget* parent)
    : QWidget(parent),
      mServices(services),
      mSpeaker(services.store, services.speech, [] { QCoreApplication::processEvents(); }) {
    // The artwork is compiled into this library; a static library registers it explicitly.
    Q_INIT_RESOURCE(study);
    buildControls();
    loadArtwork();
    connectHandlers();
}

Form3::~Form3() {
    // A window closed in any other way still leaves its database files closed.
    try {
        words::closeWindowStore(mNew, mMain);
    } catch (...) {
    }
}

// ---- Controls and looks --------------------------------------------------------------------

void Form3::buildControls() {
    setFixedSize(800, 600);
    setWindowTitle(core::applicationTitle());
    const QColor boxBack = drill::kBoxBack.colour();

    Image1 = new ui::Picture(this);
    Image1->setGeometry(0, 0, 800, 600);

    // The focus target has no action and no look of its own: it stands behind the frame.
    Command1 = new QPushButton(QStringLiteral("Command1"), this);
    Command1->setGeometry(672, 424, 57, 33);

    Text1 = new QLineEdit(this);
    Text1->setGeometry(64, 72, 673, 57);
    Text1->setFont(ui::windowFont(QStringLiteral("Arial Black"), 24, true, true));
    setColours(Text1, QPalette::Base, boxBack, QPalette::Text, drill::kQuestionText.colour());

    Label1 = new QLabel(this);
    Label1->setGeometry(120, 24, 625, 33);
    Label1->setFont(ui::windowFont(QStringLiteral("宋体"), 14.25, true));
    Label1->setAlignment(Qt::AlignCenter);
    setColours(Label1, QPalette::Window, Qt::transparent, QPalette::WindowText,
               drill::kVerdictText.colour());

    Text2 = new QLineEdit(this);
    Text2->setGeometry(352, 40, 89, 25);
    Text2->setFont(ui::windowFont(QStringLiteral("黑体"), 15.75, true));
    setColours(Text2, QPalette::Base, boxBack, QPalette::Text, drill::kQuestionText.colour());

    Frame1 = new QFrame(this);
    Frame1->setGeometry(64, 136, 673, 369);
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1->setAutoFillBackground(true);
    setColours(Frame1, QPalette::Window, boxBack, QPalette::WindowText, Qt::black);
    Frame1->setMouseTracking(true);
    Frame1->installEventFilter(this);

    for (int i = 0; i < 8; ++i) {
        auto* row = new drill::AnswerRow(Frame1);
        if (kRowTops[i] >= 0) {
            row->setGeometry(kRowLeft, kRowTops[i], kRowWidth, kRowHeight);
            row->setFont(ui::windowFont(QStringLiteral("楷体_GB2312"), 14.25, true));
        } else {
            row->setGeometry(i == 5 ? 40 : 56, 312, 377, 33);
            row->setFont(ui::windowFont(QStringLiteral("宋体"), 12, true));
        }
        row->setBackColour(boxBack);
        row->setTextColour(drill::kRowText.colour());
        Option1[static_cast<size_t>(i)] = row;
    }
    // The two hidden rows stand beneath the visible ones.
    Option1[5]->lower();
    Option1[7]->lower();

    Command2 = new QPushButton(QStringLiteral("开始学习"), this);
    Command2->setGeometry(664, 552, 121, 33);
    Command2->setFont(ui::windowFont(QStringLiteral("宋体"), 10.5, true));
    Command2->hide();

    Image2 = new ui::Picture(this);
    Image2->setGeometry(328, 527, 169, 40);
    for (int i = 0; i < 10; ++i) {
        auto* cell = new ui::Picture(this);
        cell->setGeometry(kCellLefts[i], 531, 13, 32);
        Image3[static_cast<size_t>(i)] = cell;
    }

    Image5 = new ui::Picture(this);
    Image5->setGeometry(160, 536, 60, 22);
    Image4 = new ui::Picture(this);
    Image4->setGeometry(584, 536, 108, 23);

    Label4 = new QLabel(QStringLiteral("难度选择："), this);
    Label4->setGeometry(64, 576, 80, 16);
    Label4->setFont(ui::windowFont(QStringLiteral("宋体"), 12));

    Combo1 = new QComboBox(this);
    Combo1->setGeometry(152, 573, 49, 20);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setEditText(QStringLiteral("10"));

    Label2 = new QLabel(QStringLiteral("生词数:"), this);
    Label2->setGeometry(328, 576, 225, 17);
    Label3 = new QLabel(QStringLiteral("练习次数："), this);
    Label3->setGeometry(552, 576, 137, 17);
    for (QLabel* label : {Label2, Label3}) {
        label->setFont(ui::windowFont(QStringLiteral("宋体"), 12));
        label->setAutoFillBackground(true);
        setColours(label, QPalette::Window, boxBack, QPalette::WindowText, Qt::black);
    }
}

void Form3::loadArtwork() {
    Image1->setPicture(ui::renderSvg(QStringLiteral(":/study/background.svg"), 800, 600));
    Image2->setPicture(ui::renderSvg(QStringLiteral(":/study/bar_frame.svg"), 169, 40));
    const QPixmap cell = ui::renderSvg(QStringLiteral(":/study/bar_cell.svg"), 13, 32);
    for (ui::Picture* c : Image3) {
        c->setPicture(cell);
    }
    ImageList1.add(QStringLiteral("exit dark"),
                   ui::renderSvg(QStringLiteral(":/study/exit_dark.svg"), 108, 23));
    ImageList1.add(QStringLiteral("exit light"),
                   ui::renderSvg(QStringLiteral(":/study/exit_light.svg"), 108, 23));
    ImageList2.add(QStringLiteral("start light"),
                   ui::renderSvg(QStringLiteral(":/study/start_light.svg"), 60, 22));
    ImageList2.add(QStringLiteral("start dark"),
                   ui::renderSvg(QStringLiteral(":/study/start_dark.svg"), 60, 22));
    ImageList1.showOn(*Image4, 1);
    ImageList2.showOn(*Image5, 2);
}

void Form3::connectHandlers() {
    connect(Image1, &ui::Picture::mouseMoved, this, &Form3::Image1_MouseMove);
    connect(Image4, &ui::Picture::mouseMoved, this, &Form3::Image4_MouseMove);
    connect(Image5, &ui::Picture::mouseMoved, this, &Form3::Image5_MouseMove);
    connect(Image4, &ui::Picture::clicked, this, &Form3::Image4_Click);
    connect(Image5, &ui::Picture::clicked, this, &Form3::Image5_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(Combo1, &QComboBox::activated, this, &Form3::Combo1_Click);
    for (int i = 0; i < 8; ++i) {
        drill::AnswerRow* row = Option1[static_cast<size_t>(i)];
        connect(row, &drill::AnswerRow::mouseUp, this, [this, i] { Option1_MouseUp(i); });
        connect(row, &drill::AnswerRow::mouseMoved, this, [this, i] { Option1_MouseMove(i); });
        // One row at a time is selected, as in a group of option buttons.
        connect(row, &QAbstractButton::toggled, this, [this, i](bool on) {
            if (!on) {
                return;
            }
            for (int j = 0; j < 8; ++j) {
                if (j != i) {
                    Option1[static_cast<size_t>(j)]->setChecked(false);
                }
            }
        });
    }
}

void Form3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !parentWidget()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    if (!mLoaded) {
        Form_Load();
    }
    if (!mActivated) {
        // Activation follows once the window is on screen.
        QTimer::singleShot(0, this, [this] {
            if (!mActivated) {
                Form_Activate();
            }
        });
    }
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Frame1 && event->type() == QEvent::MouseMove) {
        Frame1_MouseMove();
    }
    return QWidget::eventFilter(watched, event);
}

void Form3::Frame1_MouseMove() {
    for (int i = 0; i < 8; ++i) {
        setRowBackColour(i, drill::kBoxBack.colour());
        setRowTextColour(i, drill::kRowText.colour());
    }
}

void Form3::Option1_MouseMove(int index) {
    setRowBackColour(index, drill::kRowHoverBack.colour());
}

void Form3::Image1_MouseMove() {
    ImageList1.showOn(*Image4, 1);
    ImageList2.showOn(*Image5, 2);
}

void Form3::Image4_MouseMove() {
    ImageList1.showOn(*Image4, 2);
}

void Form3::Image5_MouseMove() {
    ImageList2.showOn(*Image5, 1);
}

// ---- Load -------------------------------------------------------------------------------------

void Form3::Form_Load() {
    mLoaded = true;
    guarded([this] { loadBody(); });
}

void Form3::loadBody() {
    settings::Store& store = mServices.store;
    const core::Paths& paths = mServices.paths;
    const bool maintainer = paths.hasMaintainerFile();

    Combo1->clear();
    for (int grade = 1; grade <= 12; ++grade) {
        Combo1->addItem(QString::number(grade) + QLatin1Char(' '));
    }
    Combo1->setEditText(QStringLiteral("10"));
    const QString grade = store.read(keys::checkCombo);
    if (!grade.isEmpty()) {
        Combo1->setEditText(grade);
    }
    mPaceLimit = drill::paceLimit(Combo1->currentText());

    if (!maintainer) {
        Text2->hide();
    }
    mInPlayCount = 0;
    mServices.random.reseed(static_cast<float>(mServices.timeOfDay.secondsSinceMidnight()));

    words::restoreNewWordList(paths, store);
    mRoundSize = 50;

    const QString activity = store.read(keys::modeWhichone);
    if (activity == QLatin1String("test")) {
        words::openPair(mMain, paths, words::kWordFile, QString::fromLatin1(words::kWordsByUse));
        store.writeNumber(keys::checkWordNumber, mMain.rs.recordCount());
        mRoundSize = drill::seriesSize(true, store.read(keys::modeTest));
    } else if (activity == QLatin1String("learn")) {
        const QString plan = store.read(keys::modeLearn);
        if (plan == QLatin1String("delete")) {
            words::openWeedingCopy(mMain, paths, store, [this] { repaint(); });
            store.writeNumber(keys::checkWordNumber, mMain.rs.recordCount());
        } else if (plan == QLatin1String("fallible")) {
            const words::ListCount count = words::openAndRecountNewWordList(mNew, paths, store);
            mFallibleCount = count.rowCount;
            mListScanPos = count.listScanPos;
            mListBarBase = count.barBase;
        } else {
            words::openPair(mMain, paths, words::kWordFile,
                            QString::fromLatin1(words::kWordsByUse));
            // With the maintainer's file present, the words he has just imported count too.
            mInPlayCount = words::countWordsInPlay(mMain.rs, maintainer ? 2 : 29);
            store.writeNumber(keys::checkWordNumber, mInPlayCount);
        }
    }

    Text1->clear();
    mFirstTryRight = 0;
    mChoiceText.clear();
    mQuestionNo = 1;
    mWindowStep = 1;
    mPaceCount = 1;
    mLastRightSlot = 1;

    const QString level = store.read(keys::autoIautoflag);
    mAutoLevel = level.isEmpty() ? 0 : core::leadingNumber(level);
    mTries = 1;

    hideAllCells();
    for (drill::AnswerRow* row : Option1) {
        row->setText(QString());
    }
    Option1[5]->hide();
    Option1[7]->hide();
    std::fill(mChoiceSlot.begin(), mChoiceSlot.begin() + 6, 1);

    const QString wordNumber = store.read(keys::checkWordNumber);
    if (!wordNumber.isEmpty()) {
        mWordCount = core::leadingNumber(wordNumber);
    }
    if (store.read(keys::checkLearnedtime).isEmpty()) {
        store.write(keys::checkLearnedtime, QStringLiteral("0"));
    }
}

// ---- Activation -------------------------------------------------------------------------------

void Form3::Form_Activate() {
    mActivated = true;
    guarded([this] { activateBody(); });
}

void Form3::activateBody() {
    settings::Store& store = mServices.store;
    repaint();
    if (store.read(keys::modeWhichone) == QLatin1String("test")) {
        setTestRange(store.read(keys::modeTest));
        speakFocused([this] { SpeakText(QStringLiteral("welcome to test your vocabulary")); });
        runDriver();
        return;
    }
    setLearnRange(store.read(keys::modeLearn));
    pumpEvents();
    runDriver();
}

void Form3::setTestRange(const QString& testKind) {
    if (const auto range = drill::testRange(testKind, mWordCount)) {
        mRangeFirst = range->first;
        mRangeLast = range->last;
    }
}

void Form3::setLearnRange(const QString& plan) {
    settings::Store& store = mServices.store;
    if (const auto range = drill::gradedRange(plan)) {
        mRangeFirst = range->first;
        mRangeLast = range->last;
    } else if (drill::windowStep(plan, mWordCount)) {
        setAutomaticRange(plan);
    } else if (plan == QLatin1String("delete")) {
        mRangeFirst = 1;
        const QString left = store.read(keys::autoDelete);
        if (left.isEmpty()) {
            // The first activation after the copy was made plays the whole copy.
            mRangeLast = mWordCount;
            store.writeNumber(keys::autoDelete, mWordCount);
        } else {
            mRangeLast = core::leadingNumber(left);
        }
    } else if (plan == QLatin1String("fallible")) {
        // The pending rows lead the list in descending difficulty.
        mRangeFirst = 1;
        mRangeLast = store.number(keys::autoFallible);
    }
}

void Form3::setAutomaticRange(const QString& plan) {
    mWindowStep = *drill::windowStep(plan, mWordCount);
    const QString level = mServices.store.read(keys::autoIautoflag);
    if (level.isEmpty()) {
        mRangeFirst = 1;
        mRangeLast = mWindowStep;
        return;
    }
    mAutoLevel = drill::clampLevel(core::leadingNumber(level));
    lightCells(drill::levelCells(mAutoLevel));
    const drill::PlayRange range = drill::automaticRange(mAutoLevel, mWordCount, mWindowStep);
    mRangeFirst = range.first;
    mRangeLast = range.last;
}

// ---- Speed grade and leaving ------------------------------------------------------------------

void Form3::Combo1_Click() {
    guarded([this] {
        const QString grade = Combo1->currentText();
        mServices.store.write(keys::checkCombo, grade);
        mPaceLimit = drill::paceLimit(grade);
    });
}

void Form3::Image4_Click() {
    guarded([this] { leaveBody(); });
}

void Form3::leaveBody() {
    mAutoLevel = drill::savedLevel(mAutoLevel);
    if (mServices.store.read(keys::modeWhichone) == QLatin1String("learn")) {
        mServices.store.write(keys::autoIautoflag, core::numberText(mAutoLevel));
    }
    words::closeWindowStore(mNew, mMain);
    // Unload this window and take it off the screen, then show a new start window, which
    // loads anew.
    mServices.navigator.unloadAndShow(*this, core::WindowKind::Start);
}

void Form3::Image5_Click() {
    Command2_Click();
}

// ---- Shared helpers ---------------------------------------------------------------------------

bool Form3::guarded(const std::function<void()>& body) {
    return core::runGuarded(mServices.failure, body);
}

double Form3::drawRandom() {
    mServices.random.reseed(static_cast<float>(mServices.timeOfDay.secondsSinceMidnight()));
    return mServices.random.next();
}

void Form3::drawPermutation() {
    for (mButtonIndex = 0; mButtonIndex <= 5; ++mButtonIndex) {
        double r = drawRandom();
        for (int attempt = 1;; ++attempt) {
            const int slot = std::clamp(static_cast<int>(6 * r), 0, 5);
            bool taken = false;
            for (mInnerIndex = 0; mInnerIndex < mButtonIndex; ++mInnerIndex) {
                taken = taken || mChoiceSlot[static_cast<size_t>(mInnerIndex)] == slot;
            }
            if (!taken) {
                mChoiceSlot[static_cast<size_t>(mButtonIndex)] = slot;
                break;
            }
            if (attempt >= drill::kMaxDraws) {
                // A generator that keeps repeating itself: take the lowest free position.
                for (int free = 0; free <= 5; ++free) {
                    if (std::find(mChoiceSlot.begin(), mChoiceSlot.begin() + mButtonIndex, free) ==
                        mChoiceSlot.begin() + mButtonIndex) {
                        mChoiceSlot[static_cast<size_t>(mButtonIndex)] = free;
                        break;
                    }
                }
                break;
            }
            r = mServices.random.next();
        }
    }
}

void Form3::stagingRemap() {
    if (mChoiceSlot[0] == 5) {
        mChoiceSlot[0] = 6;
    }
    Option1[6]->setText(Option1[5]->text());
    // Row 6 also takes the size chosen for position 5, so that a long gloss fits it as well.
    setRowFontSize(6, Option1[5]->font().pointSizeF());
}

void Form3::positionAt(words::Recordset& rs, int pos) {
    rs.moveFirst();
    rs.move(pos - 1);
}

void Form3::setRowFontSize(int row, double pointSize) {
    drill::AnswerRow* r = Option1.at(static_cast<size_t>(row));
    QFont f = r->font();
    f.setPointSizeF(pointSize);
    r->setFont(f);
}

void Form3::setRowBackColour(int row, const QColor& colour) {
    Option1.at(static_cast<size_t>(row))->setBackColour(colour);
}

void Form3::setRowTextColour(int row, const QColor& colour) {
    Option1.at(static_cast<size_t>(row))->setTextColour(colour);
}

QColor Form3::rowBackColour(int row) const {
    return Option1.at(static_cast<size_t>(row))->backColour();
}

QColor Form3::rowTextColour(int row) const {
    return Option1.at(static_cast<size_t>(row))->textColour();
}

QColor Form3::text1Colour() const {
    return Text1->palette().color(QPalette::Text);
}

void Form3::hideAllCells() {
    for (ui::Picture* cell : Image3) {
        cell->hide();
    }
}

void Form3::lightCells(int count) {
    for (int i = 0; i < std::clamp(count, 0, 10); ++i) {
        Image3[static_cast<size_t>(i)]->show();
    }
}

void Form3::lightCell(int index) {
    if (index >= 0 && index < 10) {
        Image3[static_cast<size_t>(index)]->show();
    }
}

int Form3::litCellCount() const {
    return static_cast<int>(std::count_if(Image3.begin(), Image3.end(),
                                          [](const ui::Picture* c) { return !c->isHidden(); }));
}

void Form3::pumpEvents() {
    QCoreApplication::processEvents();
}

void Form3::speakFocused(const std::function<void()>& speak) {
    Command1->setEnabled(true);
    Command1->setFocus();
    speak();
    Command1->setEnabled(true);
    Command1->setFocus();
}

void Form3::SpeakWord(const QString& text) {
    mSpeaker.SpeakWord(text);
}

void Form3::SpeakText(const QString& text) {
    mSpeaker.SpeakText(text);
}

QString Form3::GBToHex(const QString& text) const {
    return words::GBToHex(text);
}

QString Form3::HexToGB(const QString& hex) const {
    return words::HexToGB(hex);
}
