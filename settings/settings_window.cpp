// The settings window: its controls and looks, load, tab display, OK buttons and hover looks.
#include "settings/settings_window.h"

#include "core/numbers.h"
#include "core/real_services.h"
#include "settings/keys.h"
#include "settings/store.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTabBar>

namespace keys = settings::keys;

namespace {

// Window colour and the option buttons' colours.
const QColor kWindowBack = ui::rgb(0, 192, 192);
const QColor kOptionText = ui::rgb(192, 255, 255);
const QColor kRecordText = ui::rgb(0, 255, 0);

constexpr int kStudyPlanHeight = 33;
constexpr int kTestKindHeight = 49;
// The record panel's labels lie over its three rows, from this left edge.
constexpr int kRecordLeft = 424;
constexpr int kRecordTops[] = {11, 48, 87};
constexpr int kRecordHeight = 33;

void setColours(QWidget* w, const QColor& back, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::Button, back);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    w->setPalette(p);
}

/// A disabled option shows its caption in the platform's grey, as any disabled control does;
/// the window's own caption colour holds only while the option can be chosen.
void showDisabledGreyed(QWidget* w) {
    const QPalette standard = w->style()->standardPalette();
    QPalette p = w->palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, standard.color(QPalette::Disabled, role));
    }
    w->setPalette(p);
}

/// The option buttons' face: their captions hold Chinese and digits only, and the Song face's
/// half-width digits keep the longest ones inside their column.
QFont optionFont(double pointSize) {
    QFont font = ui::windowFont(QStringLiteral("宋体"), pointSize);
    font.setFamilies({QStringLiteral("宋体")});
    return font;
}

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

/// One group of option buttons on a page, at the table's positions, each as wide as its
/// caption needs.
template <size_t N>
std::array<QRadioButton*, N> makeOptions(QWidget* page,
                                         const std::array<settings::PlanOption, N>& table,
                                         const QFont& font, int height) {
    std::array<QRadioButton*, N> group{};
    for (size_t i = 0; i < N; ++i) {
        auto* button = new QRadioButton(utf8(table[i].caption), page);
        button->setFont(font);
        button->setAutoFillBackground(true);
        setColours(button, kWindowBack, kOptionText);
        showDisabledGreyed(button);
        button->move(table[i].left, table[i].top);
        button->resize(button->sizeHint().width(), height);
        group[i] = button;
    }
    return group;
}

}  // namespace

// ---- The two-tab control ---------------------------------------------------------------------

namespace settings {

TabControl::TabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setExpanding(true);
    bar_->setDrawBase(false);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        showPage(index);
        emit currentChanged(index);
    });
}

void TabControl::addTab(const QString& caption, QWidget* page) {
    page->setParent(this);
    page->move(0, kTabRowHeight);
    pages_.push_back(page);
    bar_->addTab(caption);
    showPage(bar_->currentIndex());
}

int TabControl::currentIndex() const {
    return bar_->currentIndex();
}

void TabControl::setCurrentIndex(int index) {
    bar_->setCurrentIndex(index);
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    bar_->setGeometry(0, 0, width(), kTabRowHeight);
}

void TabControl::showPage(int index) {
    for (size_t i = 0; i < pages_.size(); ++i) {
        pages_[i]->setVisible(static_cast<int>(i) == index);
    }
}

}  // namespace settings

// ---- Controls and looks ------------------------------------------------------------------------

Form2::Form2(const core::WindowServices& services, QWidget* parent)
    : QWidget(parent), mServices(services) {
    // The artwork lives in this static library; naming it keeps the linker from dropping it.
    Q_INIT_RESOURCE(settings_window);
    buildControls();
    loadArtwork();
    connectHandlers();
}

Form2::~Form2() = default;

void Form2::buildControls() {
    setFixedSize(800, 600);
    setWindowTitle(core::applicationTitle());
    setAutoFillBackground(true);
    setColours(this, kWindowBack, Qt::black);

    Frame1 = new QFrame(this);
    Frame1->setGeometry(8, 8, 777, 585);
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    SSTab1 = new settings::TabControl(this);
    SSTab1->setGeometry(24, 32, 745, 536);
    SSTab1->tabBar()->setFont(ui::windowFont(QStringLiteral("宋体"), 10.5, true));

    buildTestPage();
    buildStudyPage();
    // The window is built with tab 0 on view; the load chooses the opening tab.
    SSTab1->addTab(QStringLiteral("测试"), Frame2);
    SSTab1->addTab(QStringLiteral("学习"), Frame3);
}

void Form2::buildStudyPage() {
    Frame3 = new QFrame(this);
    Frame3->resize(745, 512);
    Frame3->setFrameStyle(QFrame::Box | QFrame::Sunken);

    // Made first, so that it lies behind everything else on the page.
    Image2 = new ui::Picture(Frame3);
    Image2->setGeometry(8, 8, 800, 600);

    Option1 = makeOptions(Frame3, settings::kStudyPlans, optionFont(12), kStudyPlanHeight);
    // The smart plan is captioned at load; it is sized for that caption now.
    QRadioButton* smart = Option1[settings::kSmartPlan];
    smart->setText(utf8(settings::kSmartPlanCaption));
    smart->resize(smart->sizeHint().width(), kStudyPlanHeight);
    smart->setText(QString());
    Option1[settings::kInitialStudyPlan]->setChecked(true);

    Picture1 = new ui::Picture(Frame3);
    Picture1->setGeometry(32, 384, 689, 128);
    QLabel** labels[] = {&Label1, &Label2, &Label3};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(Picture1);
        label->setGeometry(kRecordLeft, kRecordTops[i], 689 - kRecordLeft, kRecordHeight);
        label->setFont(ui::windowFont(QStringLiteral("宋体"), 21.75, true));
        setColours(label, Qt::transparent, kRecordText);
        *labels[i] = label;
    }

    Image3 = new ui::Picture(Frame3);
    Image3->setGeometry(344, 336, 54, 21);
}

void Form2::buildTestPage() {
    Frame2 = new QFrame(this);
    Frame2->resize(745, 513);
    Frame2->setFrameStyle(QFrame::Box | QFrame::Sunken);

    Image1 = new ui::Picture(Frame2);
    Image1->setGeometry(8, 16, 800, 600);

    Option2 = makeOptions(Frame2, settings::kTestKinds, optionFont(14.25), kTestKindHeight);
    Option2[settings::kInitialTestKind]->setChecked(true);

    Image4 = new ui::Picture(Frame2);
    Image4->setGeometry(360, 400, 54, 21);
}

void Form2::loadArtwork() {
    const QPixmap background = ui::renderSvg(QStringLiteral(":/settings/background.svg"), 800, 600);
    Image2->setPicture(background);
    Image1->setPicture(background);
    Picture1->setPicture(ui::renderSvg(QStringLiteral(":/settings/record_panel.svg"), 689, 128));

    const QPixmap light = ui::renderSvg(QStringLiteral(":/settings/ok_light.svg"), 52, 21);
    const QPixmap dark = ui::renderSvg(QStringLiteral(":/settings/ok_dark.svg"), 54, 21);
    for (ui::ImageList* list : {&ImageList1, &ImageList2}) {
        list->add(QStringLiteral("ok light"), light);
        list->add(QStringLiteral("ok dark"), dark);
    }
    showLook(ImageList1, *Image3, 2);
    showLook(ImageList2, *Image4, 2);
}

void Form2::connectHandlers() {
    connect(SSTab1, &settings::TabControl::currentChanged, this, &Form2::SSTab1_Click);
    connect(Image3, &ui::Picture::clicked, this, &Form2::Image3_Click);
    connect(Image4, &ui::Picture::clicked, this, &Form2::Image4_Click);
    connect(Image3, &ui::Picture::mouseMoved, this, &Form2::Image3_MouseMove);
    connect(Image2, &ui::Picture::mouseMoved, this, &Form2::Image2_MouseMove);
    connect(Image4, &ui::Picture::mouseMoved, this, &Form2::Image4_MouseMove);
    connect(Image1, &ui::Picture::mouseMoved, this, &Form2::Image1_MouseMove);
}

void Form2::showLook(const ui::ImageList& list, ui::Picture& control, int index) {
    list.showOn(control, index);
    control.resize(list.picture(index).size());
}

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !parentWidget()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    if (!mLoaded) {
        Form_Load();
    }
}

bool Form2::guarded(const std::function<void()>& body) {
    return core::runGuarded(mServices.failure, body);
}

// ---- Load and display
// ----------------------------------------------------------------------------

void Form2::Form_Load() {
    mLoaded = true;
    guarded([this] { loadBody(); });
}

void Form2::loadBody() {
    settings::Store& store = mServices.store;
    // Putting the Study tab on view is a tab change: its display runs once more from there.
    const bool test = store.read(keys::modeWhichone) == QLatin1String("test");
    SSTab1->setCurrentIndex(test ? kTestTab : kStudyTab);

    if (store.number(keys::autoFallible) < settings::kNewWordListThreshold) {
        Option1[settings::kNewWordPlan]->setEnabled(false);
    }
    Option1[settings::kSmartPlan]->setText(utf8(settings::kSmartPlanCaption));
    ShowTabState();
}

void Form2::SSTab1_Click() {
    guarded([this] { ShowTabState(); });
}

void Form2::ShowTabState() {
    if (SSTab1->currentIndex() == kStudyTab) {
        showStudyState();
    } else {
        showTestState();
    }
}

void Form2::showStudyState() {
    settings::Store& store = mServices.store;
    const QString noRecord = utf8(settings::kNoRecord);

    const double added = store.number(keys::checkFallible) - store.number(keys::autoFallible);
    Label3->setText(added > 0 ? core::numberText(added) : noRecord);
    // A stored count is shown as it stands, "0" included.
    const QString practice = store.read(keys::checkLearnedtime);
    Label2->setText(practice.isEmpty() ? noRecord : practice);
    const QString vocabulary = store.read(keys::checkWordvol);
    Label1->setText(vocabulary.isEmpty() ? noRecord : vocabulary);

    // An unknown plan leaves the group as it is: the built-in pick at load, later the learner's.
    if (const auto plan = settings::studyPlanIndex(store.read(keys::modeLearn))) {
        Option1[static_cast<size_t>(*plan)]->setChecked(true);
    }
}

void Form2::showTestState() {
    const int kind = settings::testKindIndex(mServices.store.read(keys::modeTest));
    Option2[static_cast<size_t>(kind)]->setChecked(true);
}

// ---- OK buttons
// ----------------------------------------------------------------------------------

void Form2::Image3_Click() {
    guarded([this] {
        confirm(Option1, settings::kStudyPlans, keys::modeLearn, QStringLiteral("learn"));
    });
}

void Form2::Image4_Click() {
    guarded(
        [this] { confirm(Option2, settings::kTestKinds, keys::modeTest, QStringLiteral("test")); });
}

void Form2::confirm(std::span<QRadioButton* const> group,
                    std::span<const settings::PlanOption> table, const settings::Key& choiceKey,
                    const QString& activity) {
    settings::Store& store = mServices.store;
    // The first selected button in index order counts, enabled or not; with none selected the
    // key keeps what it held.
    for (size_t i = 0; i < group.size(); ++i) {
        if (group[i]->isChecked()) {
            store.write(choiceKey, QString::fromLatin1(table[i].value));
            break;
        }
    }
    store.write(keys::modeWhichone, activity);
    // The study window loads while this one still exists; it reads the choice from the store.
    mServices.navigator.show(core::WindowKind::Study);
    close();
}

// ---- Hover looks -----------------------------------------------------------------------------

void Form2::Image3_MouseMove() {
    guarded([this] { showLook(ImageList1, *Image3, 1); });
}

void Form2::Image2_MouseMove() {
    guarded([this] { showLook(ImageList1, *Image3, 2); });
}

void Form2::Image4_MouseMove() {
    guarded([this] { showLook(ImageList2, *Image4, 1); });
}

void Form2::Image1_MouseMove() {
    guarded([this] { showLook(ImageList2, *Image4, 2); });
}
