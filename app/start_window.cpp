// The start window: controls and looks, the start-up sequence, the voice check, the logo
// animation and the ways out.
#include "app/start_window.h"

#include "core/numbers.h"
#include "core/real_services.h"
#include "core/site.h"
#include "net/http_fetch.h"
#include "net/update_check.h"
#include "settings/keys.h"
#include "settings/store.h"
#include "speech/speech.h"
#include "words/word_store.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace keys = settings::keys;

namespace {

constexpr char kBatchFile[] = "error.bat";
constexpr char kDefaultWordNumber[] = "15374";
constexpr char kUpgradeMarker[] = "5.4";
constexpr char kVersionCaption[] = "V5.4";
constexpr double kSiblingNoticeAbove = 10;

const QString kVoiceOffer = QStringLiteral(
    "软件检测到您的电脑未安装所需的语音文件，为了保证学习效果，请点击此处下载语音文件。");
const QString kSiteLink = QStringLiteral("点此进入软件官网，下载更多英语学习软件：");
const QString kSiblingNotice =
    QStringLiteral("您的电脑未安装Quillmoor英语学习软件，为了更好地学习英语，请现在就下载安装！");
const QString kUpdateNotice = QStringLiteral("软件已升级，请下载安装最新版本！");

// The button looks of ImageList2, by number.
constexpr int kExitDark = 1;
constexpr int kDictionaryLight = 2;
constexpr int kDictionaryDark = 3;
constexpr int kStartLight = 4;
constexpr int kExitLight = 5;
constexpr int kStartDark = 6;

constexpr int kLogoFrames = 6;

void transparentLabel(QLabel* label, const QColor& text) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, text);
    label->setPalette(p);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
}

}  // namespace

Form1::Form1(const core::WindowServices& services, QWidget* parent)
    : QWidget(parent), mServices(services) {
    // The artwork lives in this static library; its resources must be registered by hand.
    Q_INIT_RESOURCE(start);
    buildControls();
    loadArtwork();
    connectHandlers();
}

Form1::~Form1() = default;

// ---- Controls and looks --------------------------------------------------------------------

void Form1::buildControls() {
    setFixedSize(800, 600);
    setWindowTitle(core::applicationTitle());

    Image1 = new ui::Picture(this);
    Image1->setGeometry(0, 0, 800, 600);
    Image2 = new ui::Picture(this);
    Image2->setGeometry(24, 24, 93, 73);

    Image3 = new ui::Picture(this);
    Image3->setGeometry(136, 400, 60, 22);
    Image5 = new ui::Picture(this);
    Image5->setGeometry(288, 400, 108, 23);
    Image4 = new ui::Picture(this);
    Image4->setGeometry(464, 400, 108, 23);

    Label1 = new QLabel(QString::fromLatin1(kVersionCaption), this);
    Label1->setGeometry(632, 400, 121, 33);
    Label1->setFont(ui::windowFont(QStringLiteral("宋体"), 26.25, true));
    transparentLabel(Label1, ui::rgb(255, 255, 0));

    Label2 = new QLabel(kVoiceOffer, this);
    Label2->setGeometry(360, 32, 425, 57);
    Label2->setFont(ui::windowFont(QStringLiteral("宋体"), 14.25, true));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    transparentLabel(Label2, ui::rgb(255, 255, 0));

    Label3 = new QLabel(kSiteLink + core::site::siteHost(), this);
    Label3->setGeometry(376, 40, 401, 49);
    Label3->setFont(ui::windowFont(QStringLiteral("宋体"), 12, true));
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    transparentLabel(Label3, ui::rgb(0, 255, 255));

    Timer1 = new QTimer(this);
    Timer1->setInterval(kTimerIntervalMs);
}

void Form1::loadArtwork() {
    // The background picture is drawn for 792 x 592 and stretched to the window.
    Image1->setPicture(ui::renderSvg(QStringLiteral(":/start/background.svg"), 800, 600));
    for (int frame = 1; frame <= kLogoFrames; ++frame) {
        ImageList1.add(QStringLiteral("logo %1").arg(frame),
                       ui::renderSvg(QStringLiteral(":/start/logo_%1.svg").arg(frame), 93, 73));
    }
    struct Look {
        const char* name;
        const char* file;
        int width;
        int height;
    };
    constexpr Look looks[] = {
        {"exit dark", ":/start/exit_dark.svg", 108, 23},
        {"dictionary light", ":/start/dictionary_light.svg", 108, 23},
        {"dictionary dark", ":/start/dictionary_dark.svg", 108, 23},
        {"start light", ":/start/start_light.svg", 60, 22},
        {"exit light", ":/start/exit_light.svg", 108, 23},
        {"start dark", ":/start/start_dark.svg", 60, 22},
    };
    for (const Look& look : looks) {
        ImageList2.add(QString::fromLatin1(look.name),
                       ui::renderSvg(QString::fromLatin1(look.file), look.width, look.height));
    }
    ImageList2.showOn(*Image3, kStartLight);
    ImageList2.showOn(*Image4, kExitLight);
    ImageList2.showOn(*Image5, kDictionaryLight);

    // One pointer icon for the start and exit buttons and both link labels; its tip is the
    // hot spot.
    const QCursor pointer(ui::renderSvg(QStringLiteral(":/start/pointer.svg"), 32, 32), 6, 1);
    for (QWidget* w : {static_cast<QWidget*>(Image3), static_cast<QWidget*>(Image4),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3)}) {
        w->setCursor(pointer);
    }
}

void Form1::connectHandlers() {
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Image3, &ui::Picture::clicked, this, &Form1::Image3_Click);
    connect(Image5, &ui::Picture::clicked, this, &Form1::Image5_Click);
    connect(Image4, &ui::Picture::clicked, this, &Form1::Image4_Click);
    connect(Image1, &ui::Picture::mouseMoved, this, &Form1::Image1_MouseMove);
    connect(Image3, &ui::Picture::mouseMoved, this, &Form1::Image3_MouseMove);
    connect(Image4, &ui::Picture::mouseMoved, this, &Form1::Image4_MouseMove);
    connect(Image5, &ui::Picture::mouseMoved, this, &Form1::Image5_MouseMove);
    Label2->installEventFilter(this);
    Label3->installEventFilter(this);
}

void Form1::setVisible(bool visible) {
    // The load comes before the window is first drawn, and its message boxes before it.
    if (visible && !mLoaded) {
        Form_Load();
        if (mUnloaded) {
            return;
        }
    }
    QWidget::setVisible(visible);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !parentWidget()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    if (!mActivated) {
        // Activation follows once the window is on screen.
        QTimer::singleShot(0, this, [this] {
            if (!mActivated && !mUnloaded) {
                Form_Activate();
            }
        });
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = qobject_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton && label &&
            label->rect().contains(mouse->position().toPoint())) {
            if (watched == Label2) {
                Label2_Click();
            } else if (watched == Label3) {
                Label3_Click();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Image3_MouseMove() {
    ImageList2.showOn(*Image3, kStartDark);
}

void Form1::Image4_MouseMove() {
    ImageList2.showOn(*Image4, kExitDark);
}

void Form1::Image5_MouseMove() {
    ImageList2.showOn(*Image5, kDictionaryDark);
}

void Form1::Image1_MouseMove() {
    ImageList2.showOn(*Image3, kStartLight);
    ImageList2.showOn(*Image4, kExitLight);
    ImageList2.showOn(*Image5, kDictionaryLight);
}

// ---- Load -------------------------------------------------------------------------------------

void Form1::Form_Load() {
    mLoaded = true;
    guarded([this] { loadBody(); });
}

void Form1::loadBody() {
    Timer1->start();
    runBatchStepOnce();
    Label2->hide();
    Label3->hide();
    mFrameIndex = 1;
    if (!echoSucceeded()) {
        return;  // offline: nothing is written, counted or fetched
    }
    writeOnlineDefaults();
    runUpgradeStep();
    mServices.store.write(keys::checkWordadded, QString::fromLatin1(kUpgradeMarker));
    countOnlineLoad();
    showSiblingNotice();
    if (noticeOfNewerVersion()) {
        openSite();
        unload();
    }
}

void Form1::runBatchStepOnce() {
    settings::Store& store = mServices.store;
    if (!store.read(keys::checkBatprocess).isEmpty()) {
        return;
    }
    const std::filesystem::path batch = mServices.paths.file(kBatchFile);
    std::error_code error;
    // A missing or unstartable batch file must not stop the program: the marker stays
    // unwritten, so the next load tries again.
    if (!std::filesystem::is_regular_file(batch, error) ||
        !mServices.launcher.startHidden(core::pathText(batch))) {
        std::fprintf(stderr, "first-start step: %s could not be started\n", batch.c_str());
        return;
    }
    store.write(keys::checkBatprocess, QStringLiteral("OK"));
}

bool Form1::echoSucceeded() {
    if (mServices.echo == nullptr) {
        mEchoReply.Status = net::ip_status::kGeneralFailure;
        return false;
    }
    net::Module1::PingHost(*mServices.echo, core::site::echoAddress(), mEchoReply);
    // Online when the status text reads as the number 0, that is when the status is 0.
    return core::leadingNumber(net::Module1::PingStatusText(mEchoReply.Status)) == 0;
}

void Form1::writeOnlineDefaults() {
    settings::Store& store = mServices.store;
    if (store.read(keys::checkQuillmoor).isEmpty()) {
        store.write(keys::checkQuillmoor, QStringLiteral("1"));
    }
    if (store.read(keys::checkWordNumber).isEmpty()) {
        store.write(keys::checkWordNumber, QString::fromLatin1(kDefaultWordNumber));
    }
}

void Form1::runUpgradeStep() {
    // Throws away a weeding plan begun while the upgrade marker was still missing.
    settings::Store& store = mServices.store;
    if (store.read(keys::autoDelete).isEmpty() || !store.read(keys::checkWordadded).isEmpty()) {
        return;
    }
    store.write(keys::checkWordadded, QString::fromLatin1(kUpgradeMarker));
    const std::filesystem::path copy = mServices.paths.file(words::kWeedingFile);
    std::error_code error;
    // A weeding copy that is not there is already gone; any other failure is one.
    std::filesystem::remove(copy, error);
    if (error) {
        throw core::Error(QStringLiteral("The weeding copy %1 could not be deleted: %2")
                              .arg(core::pathText(copy), QString::fromStdString(error.message())));
    }
    store.remove(keys::autoDelete);
    store.remove(keys::modeDelete);
}

void Form1::countOnlineLoad() {
    // Read with the leading-number parse: a damaged count must not stop every online start.
    settings::Store& store = mServices.store;
    store.writeNumber(keys::checkQuillmoor, store.number(keys::checkQuillmoor) + 1);
}

void Form1::showSiblingNotice() {
    settings::Store& store = mServices.store;
    if (store.number(keys::checkQuillmoor) > kSiblingNoticeAbove &&
        store.read(keys::siblingProgram).isEmpty()) {
        mServices.messages.inform(kSiblingNotice);
        openSite();
    }
}

bool Form1::noticeOfNewerVersion() {
    if (mServices.http == nullptr) {
        return false;
    }
    // A fetch that fails raises no notice; the load goes on as if nothing newer were out.
    const std::optional<QByteArray> document = mServices.http->get(core::site::updateAddress());
    if (!document || !net::newerVersionPublished(*document, kProgramVersion)) {
        return false;
    }
    mServices.messages.inform(kUpdateNotice);
    return true;
}

// ---- Activation: the voice check ----------------------------------------------------------------

void Form1::Form_Activate() {
    mActivated = true;
    guarded([this] { activateBody(); });
}

void Form1::activateBody() {
    repaint();
    settings::Store& store = mServices.store;
    speech::Speaker speaker(store, mServices.speech, {});
    // No speech support at all finds no voice.
    if (speaker.preferredVoiceInstalled()) {
        store.write(keys::voiceSwitch, QStringLiteral("true"));
    }
    if (store.read(keys::voiceSwitch) != QLatin1String("true")) {
        Label2->show();
        Label3->hide();
    } else {
        Label2->hide();
        Label3->show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
}

// ---- Logo animation ----------------------------------------------------------------------------

void Form1::Timer1_Timer() {
    guarded([this] {
        // Frame 6 is never shown: the index wraps to 1 when it reaches it. A tick before the
        // load has set the index starts at frame 1 too.
        if (mFrameIndex == kLogoFrames || mFrameIndex < 1) {
            mFrameIndex = 1;
        }
        ImageList1.showOn(*Image2, mFrameIndex);
        ++mFrameIndex;
    });
}

// ---- Ways out and links -----------------------------------------------------------------------

void Form1::Image3_Click() {
    guarded([this] {
        mServices.navigator.show(core::WindowKind::Settings);
        unload();
    });
}

void Form1::Image5_Click() {
    guarded([this] {
        mServices.navigator.show(core::WindowKind::Dictionary);
        unload();
    });
}

void Form1::Image4_Click() {
    guarded([this] {
        unload();
        mServices.navigator.quit();
    });
}

void Form1::Label2_Click() {
    guarded([this] { openSite(); });
}

void Form1::Label3_Click() {
    guarded([this] { openSite(); });
}

void Form1::openSite() {
    mServices.browser.open(core::site::siteAddress());
}

void Form1::unload() {
    mUnloaded = true;
    Timer1->stop();
    close();
}

bool Form1::guarded(const std::function<void()>& body) {
    return core::runGuarded(mServices.failure, body);
}
