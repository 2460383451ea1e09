// The dictionary window: its controls and looks, load, look-up and leaving.
#include "lookup/dictionary_window.h"

#include "core/real_services.h"
#include "core/site.h"
#include "lookup/lookup_rules.h"
#include "words/codec.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <filesystem>

// The artwork lives in a static library: its resources are registered by hand.
static void initResources() {
    Q_INIT_RESOURCE(lookup);
}

namespace {

struct Colour {
    int r, g, b;
    QColor colour() const { return ui::rgb(r, g, b); }
};

constexpr Colour kYellow{255, 255, 0};
constexpr Colour kPromptBack{0, 192, 192};
constexpr Colour kBoxBack{0, 128, 128};

// The upkeep buttons: caption, left, top, width, height.
struct ButtonPlace {
    const char* caption;
    int left, top, width, height;
};
constexpr ButtonPlace kUpkeep[] = {
    {"录入", 24, 200, 81, 33},
    {"查找重复词", 480, 40, 105, 25},
    {"词库修订", 304, 40, 97, 25},
    {"vbl", 160, 40, 105, 33},
};

void setColours(QWidget* w, QPalette::ColorRole backRole, const QColor& back,
                QPalette::ColorRole textRole, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(backRole, back);
    p.setColor(textRole, text);
    w->setPalette(p);
}

// A row without a headword (Null or only blanks) has nothing to show or to speak: the
// look-up passes over it. Every row of the table is tested on every look-up, so the text is
// read in place rather than trimmed into a copy.
bool hasHeadword(QStringView headword) {
    for (const QChar c : headword) {
        if (c != QLatin1Char(' ')) {
            return true;
        }
    }
    return false;
}

}  // namespace

Form4::Form4(const core::WindowServices& services, QWidget* parent)
    : QWidget(parent), mServices(services), mSpeaker(services.store, services.speech, [] {}) {
    initResources();
    buildControls();
    loadArtwork();
    connectHandlers();
}

Form4::~Form4() {
    // A window closed in any other way still leaves the word database closed.
    try {
        words::closePair(mWords);
    } catch (...) {
    }
}

// ---- Controls and looks --------------------------------------------------------------------

void Form4::buildControls() {
    setFixedSize(800, 600);
    setWindowTitle(core::applicationTitle());

    Image1 = new ui::Picture(this);
    Image1->setGeometry(0, 0, 800, 600);

    // The entry comes first in the tab order, so it has the focus when the window opens.
    Text1 = new QLineEdit(this);
    Text1->setGeometry(352, 464, 345, 33);
    Text1->setFont(ui::windowFont(QStringLiteral("宋体"), 15.75));
    setColours(Text1, QPalette::Base, kBoxBack.colour(), QPalette::Text, kYellow.colour());
    Text1->installEventFilter(this);
    Text1->setFocus();

    Label1 = new QLabel(QStringLiteral("请录入需要查询的词汇"), this);
    Label1->setGeometry(104, 472, 210, 21);
    Label1->setFont(ui::windowFont(QStringLiteral("宋体"), 15.75));
    Label1->setAutoFillBackground(true);
    setColours(Label1, QPalette::Window, kPromptBack.colour(), QPalette::WindowText,
               kYellow.colour());
    // The prompt is sized to its text.
    Label1->adjustSize();

    Text2 = new QPlainTextEdit(this);
    Text2->setGeometry(136, 96, 537, 297);
    Text2->setFont(ui::windowFont(QStringLiteral("宋体"), 14.25));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setColours(Text2, QPalette::Base, kBoxBack.colour(), QPalette::Text, kYellow.colour());

    Text3 = new QPlainTextEdit(QStringLiteral("Text3"), this);
    Text3->setGeometry(448, 312, 161, 65);
    Text3->hide();

    Image2 = new ui::Picture(this);
    Image2->setGeometry(216, 520, 108, 23);
    Image3 = new ui::Picture(this);
    Image3->setGeometry(456, 520, 108, 23);

    QPushButton** buttons[] = {&Command1, &Command2, &Command3, &Command4};
    for (size_t i = 0; i < std::size(buttons); ++i) {
        const ButtonPlace& place = kUpkeep[i];
        auto* button = new QPushButton(QString::fromUtf8(place.caption), this);
        button->setGeometry(place.left, place.top, place.width, place.height);
        *buttons[i] = button;
    }
}

void Form4::loadArtwork() {
    Image1->setPicture(ui::renderSvg(QStringLiteral(":/lookup/background.svg"), 800, 600));
    ImageList1.add(QStringLiteral("exit normal"),
                   ui::renderSvg(QStringLiteral(":/lookup/exit_normal.svg"), 108, 23));
    ImageList1.add(QStringLiteral("exit hover"),
                   ui::renderSvg(QStringLiteral(":/lookup/exit_hover.svg"), 108, 23));
    ImageList1.add(QStringLiteral("search hover"),
                   ui::renderSvg(QStringLiteral(":/lookup/search_hover.svg"), 108, 23));
    ImageList1.add(QStringLiteral("search normal"),
                   ui::renderSvg(QStringLiteral(":/lookup/search_normal.svg"), 108, 23));
    // Both buttons start in their hover looks until the pointer first crosses the background.
    ImageList1.showOn(*Image2, 3);
    ImageList1.showOn(*Image3, 2);
}

void Form4::connectHandlers() {
    connect(Image1, &ui::Picture::mouseMoved, this, &Form4::Image1_MouseMove);
    connect(Image2, &ui::Picture::mouseMoved, this, &Form4::Image2_MouseMove);
    connect(Image3, &ui::Picture::mouseMoved, this, &Form4::Image3_MouseMove);
    connect(Image2, &ui::Picture::clicked, this, &Form4::Image2_Click);
    connect(Image3, &ui::Picture::clicked, this, &Form4::Image3_Click);
    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form4::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form4::Command4_Click);
}

void Form4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !parentWidget()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    if (!mLoaded) {
        Form_Load();
    }
}

bool Form4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const int code = enter ? 13 : (key->text().isEmpty() ? 0 : key->text()[0].unicode());
        Text1_KeyPress(code);
        // The key is not swallowed: the box handles it as usual.
    }
    return QWidget::eventFilter(watched, event);
}

void Form4::Image1_MouseMove() {
    ImageList1.showOn(*Image2, 4);
    ImageList1.showOn(*Image3, 1);
}

void Form4::Image2_MouseMove() {
    ImageList1.showOn(*Image2, 3);
}

void Form4::Image3_MouseMove() {
    ImageList1.showOn(*Image3, 2);
}

// ---- Load -------------------------------------------------------------------------------------

void Form4::Form_Load() {
    mLoaded = true;
    guarded([this] {
        // A path that cannot even be tested counts as no file: opening the dictionary must not
        // end the program over it.
        if (!mServices.paths.hasMaintainerFile()) {
            for (QPushButton* button : {Command1, Command2, Command3, Command4}) {
                button->setVisible(false);
            }
        }
        openWords();
    });
}

void Form4::openWords() {
    words::openPair(mWords, mServices.paths, words::kWordFile,
                    QString::fromLatin1(words::kWordsByWord));
}

// ---- Look-up ----------------------------------------------------------------------------------

void Form4::Image2_Click() {
    guarded([this] { lookUp(); });
}

void Form4::Text1_KeyPress(int keyAscii) {
    guarded([this, keyAscii] {
        if (keyAscii == 13) {
            lookUp();
        }
    });
}

void Form4::lookUp() {
    const QString entry = Text1->text();
    if (entry.isEmpty()) {
        return;
    }
    if (lookup::takesChinesePath(entry)) {
        lookUpChinese(entry);
    } else {
        lookUpEnglish(entry);
    }
}

void Form4::lookUpEnglish(const QString& entry) {
    mSuggested = 0;
    Text2->clear();
    Text3->clear();
    lookup::ResultList suggestions;
    words::Recordset& rs = mWords.rs;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString headword = rs.field(words::kWord).text();
        if (!hasHeadword(headword)) {
            continue;
        }
        if (lookup::isExactHit(entry, headword)) {
            // Near matches met before the hit are dropped.
            showResult(lookup::entryText(headword, words::currentGloss(rs)));
            Text1->repaint();
            mSpeaker.SpeakTextDirect(Text1->text());
            Text1->clear();
            return;
        }
        if (lookup::isNearMatch(entry, headword)) {
            suggestions.add(headword, words::currentGloss(rs));
            mSuggested = 1;
        }
    }
    if (mSuggested == 1) {
        Text3->setPlainText(suggestions.suggestions());
        showResult(suggestions.suggestions());
    } else {
        showResult(lookup::notFoundText(core::site::siteAddress()));
    }
}

void Form4::lookUpChinese(const QString& entry) {
    Text2->clear();
    Text3->clear();
    const QString wanted = lookup::trimBlanks(entry);
    lookup::ResultList matches;
    bool cutOff = false;
    words::Recordset& rs = mWords.rs;
    QString scratch;
    QString gloss;  // one buffer for the gloss of every row
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        // Read in place: the look-up walks every row but lists only a few.
        const QString& headword = rs.field(words::kWord).textIn(scratch);
        if (!hasHeadword(headword)) {
            continue;
        }
        words::currentGloss(rs, gloss);
        if (!gloss.contains(wanted)) {
            continue;
        }
        matches.add(headword, gloss);
        if (matches.count() > lookup::kChineseMatchLimit) {
            cutOff = true;
            break;
        }
    }
    if (matches.count() != 0) {
        Text3->setPlainText(matches.matches(cutOff));
        showResult(matches.matches(cutOff));
    } else {
        showResult(lookup::notFoundText(core::site::siteAddress()));
    }
}

void Form4::showResult(const QString& text) {
    // The box shows each CR LF as one line break.
    Text2->setPlainText(text);
}

// ---- Leaving ----------------------------------------------------------------------------------

void Form4::Image3_Click() {
    guarded([this] {
        // Close the recordset and the connection and release both; then unload this window,
        // let pending window events run once with it off the screen, and show a new start
        // window.
        words::closePair(mWords);
        mServices.navigator.unloadAndShow(*this, core::WindowKind::Start);
    });
}

// ---- Shared helpers ---------------------------------------------------------------------------

QString Form4::GBToHex(const QString& text) const {
    return words::GBToHex(text);
}

QString Form4::HexToGB(const QString& hex) const {
    return words::HexToGB(hex);
}

bool Form4::guarded(const std::function<void()>& body) {
    return core::runGuarded(mServices.failure, body);
}
