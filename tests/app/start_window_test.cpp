#include "app/start_window.h"

#include "core/site.h"
#include "settings/keys.h"
#include "speech/espeak_engine.h"
#include "tests/app/start_fakes.h"
#include "tests/net/loopback_server.h"
#include "tests/support/case_names.h"
#include "tests/support/fakes.h"
#include "ui/picture.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <utility>

namespace {

namespace keys = settings::keys;
using testing_support::FakeServices;
using testing_support::LoopbackFetch;
using testing_support::ScriptedEcho;
using testing_support::ScriptedFetch;

const QString kSiblingNotice =
    QStringLiteral("您的电脑未安装Quillmoor英语学习软件，为了更好地学习英语，请现在就下载安装！");
const QString kUpdateNotice = QStringLiteral("软件已升级，请下载安装最新版本！");

void touch(const std::filesystem::path& file) {
    QFile f(core::pathText(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("exit 0\n");
}

class StartWindowTest : public ::testing::Test {
  protected:
    StartWindowTest() {
        ui::installFontSubstitutions();
        touch(fake.folders.paths.file("error.bat"));
    }

    core::WindowServices services(net::HttpFetch* fetch = nullptr) {
        core::WindowServices s = fake.services();
        s.echo = &echo;
        s.http = fetch ? fetch : &http;
        return s;
    }
    /// A new start window, shown: its load has run.
    std::unique_ptr<Form1> open(net::HttpFetch* fetch = nullptr) {
        auto window = std::make_unique<Form1>(services(fetch));
        window->show();
        return window;
    }
    void loadTimes(int n) {
        for (int i = 0; i < n; ++i) {
            open();
        }
    }
    QString read(const settings::Key& key) { return fake.folders.store().read(key); }
    void write(const settings::Key& key, const char* value) {
        fake.folders.store().write(key, QString::fromUtf8(value));
    }
    QStringList qmwordKeys() {
        QSettings file(fake.folders.store().fileOf("qmword"), QSettings::IniFormat);
        return file.allKeys();
    }

    FakeServices fake;
    ScriptedEcho echo;
    ScriptedFetch http;
};

// ---- Start-up sequence ------------------------------------------------------------------------

TEST_F(StartWindowTest, TheFirstOnlineLoadSeedsTheDefaultsAndShowsNoNotice) {
    http.document = QByteArray("5.4");
    const auto window = open();
    EXPECT_EQ(read(keys::checkQuillmoor), QStringLiteral("2"));
    EXPECT_EQ(read(keys::checkWordNumber), QStringLiteral("15374"));
    EXPECT_EQ(read(keys::checkWordadded), QStringLiteral("5.4"));
    EXPECT_EQ(read(keys::checkBatprocess), QStringLiteral("OK"));
    EXPECT_TRUE(fake.messages.shown.isEmpty());
    EXPECT_TRUE(fake.browser.opened.isEmpty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(fake.failure.messages.isEmpty());
    // The echo went to the configured address, the fetch to the configured document.
    EXPECT_EQ(echo.lastAddress, net::Module1::DottedToLong(core::site::echoAddress()));
    EXPECT_EQ(http.asked, QStringList{core::site::updateAddress()});
}

TEST_F(StartWindowTest, AnOfflineLoadWritesNothingButTheBatchMarkerAndFetchesNothing) {
    echo.status = net::ip_status::kReqTimedOut;
    write(keys::autoDelete, "10");
    touch(fake.folders.paths.file("backqmlexi.dic"));
    const auto window = open();
    EXPECT_EQ(qmwordKeys(), (QStringList{"auto/delete", "check/batprocess"}));
    EXPECT_TRUE(std::filesystem::exists(fake.folders.paths.file("backqmlexi.dic")));
    EXPECT_TRUE(http.asked.isEmpty());
    EXPECT_TRUE(fake.messages.shown.isEmpty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->mEchoReply.Status, net::ip_status::kReqTimedOut);
}

TEST_F(StartWindowTest, AnEchoThatCouldNotBeSentCountsAsOffline) {
    echo.status = net::ip_status::kGeneralFailure;
    open();
    EXPECT_TRUE(read(keys::checkQuillmoor).isEmpty());
    auto window = std::make_unique<Form1>([this] {
        core::WindowServices s = services();
        s.echo = nullptr;  // no probe at all
        return s;
    }());
    window->show();
    EXPECT_TRUE(read(keys::checkQuillmoor).isEmpty());
    EXPECT_TRUE(http.asked.isEmpty());
}

TEST_F(StartWindowTest, TheBatchStepRunsOnceHiddenEvenOffline) {
    echo.status = net::ip_status::kReqTimedOut;
    loadTimes(3);
    ASSERT_EQ(fake.launcher.started.size(), 1);
    EXPECT_EQ(fake.launcher.started[0], core::pathText(fake.folders.paths.file("error.bat")));
    EXPECT_EQ(read(keys::checkBatprocess), QStringLiteral("OK"));
}

TEST_F(StartWindowTest, AMissingOrUnstartableBatchFileIsTriedAgainAndEndsNothing) {
    std::filesystem::remove(fake.folders.paths.file("error.bat"));
    const auto first = open();
    EXPECT_TRUE(fake.launcher.started.isEmpty());
    EXPECT_TRUE(read(keys::checkBatprocess).isEmpty());
    EXPECT_TRUE(first->isVisible());

    touch(fake.folders.paths.file("error.bat"));
    fake.launcher.result = false;
    open();
    EXPECT_EQ(fake.launcher.started.size(), 1);
    EXPECT_TRUE(read(keys::checkBatprocess).isEmpty());

    fake.launcher.result = true;
    open();
    EXPECT_EQ(read(keys::checkBatprocess), QStringLiteral("OK"));
    EXPECT_TRUE(fake.failure.messages.isEmpty());
}

TEST_F(StartWindowTest, EveryOnlineLoadCountsAndADamagedCountStartsAgain) {
    loadTimes(3);
    EXPECT_EQ(read(keys::checkQuillmoor), QStringLiteral("4"));
    write(keys::checkQuillmoor, "abc");
    open();
    EXPECT_EQ(read(keys::checkQuillmoor), QStringLiteral("1"));
    write(keys::checkQuillmoor, "7 loads");
    open();
    EXPECT_EQ(read(keys::checkQuillmoor), QStringLiteral("8"));
    EXPECT_TRUE(fake.failure.messages.isEmpty());
}

TEST_F(StartWindowTest, TheSiblingNoticeComesFromTheTenthOnlineLoadOn) {
    loadTimes(9);
    EXPECT_EQ(read(keys::checkQuillmoor), QStringLiteral("10"));
    EXPECT_TRUE(fake.messages.shown.isEmpty());
    open();
    EXPECT_EQ(fake.messages.shown, QStringList{kSiblingNotice});
    EXPECT_EQ(fake.browser.opened, QStringList{core::site::siteAddress()});
    open();
    EXPECT_EQ(fake.messages.shown.size(), 2);
}

TEST_F(StartWindowTest, AnyValueOfTheSiblingKeySuppressesTheNotice) {
    write(keys::siblingProgram, "x");
    loadTimes(12);
    EXPECT_TRUE(fake.messages.shown.isEmpty());
    EXPECT_TRUE(fake.browser.opened.isEmpty());
}

TEST_F(StartWindowTest, TheUpgradeStepDeletesTheWeedingCopyAndBothMarkersOnce) {
    const auto copy = fake.folders.paths.file("backqmlexi.dic");
    touch(copy);
    write(keys::autoDelete, "300");
    write(keys::modeDelete, "delete");
    open();
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_TRUE(read(keys::autoDelete).isEmpty());
    EXPECT_TRUE(read(keys::modeDelete).isEmpty());
    EXPECT_EQ(read(keys::checkWordadded), QStringLiteral("5.4"));

    // A weeding plan begun after the upgrade is kept.
    touch(copy);
    write(keys::autoDelete, "300");
    write(keys::modeDelete, "delete");
    open();
    EXPECT_TRUE(std::filesystem::exists(copy));
    EXPECT_EQ(read(keys::autoDelete), QStringLiteral("300"));
    EXPECT_EQ(read(keys::modeDelete), QStringLiteral("delete"));
}

TEST_F(StartWindowTest, TheUpgradeStepNeedsAWeedingMarkerAndNoUpgradeMarker) {
    const auto copy = fake.folders.paths.file("backqmlexi.dic");
    touch(copy);
    write(keys::modeDelete, "delete");
    open();  // no auto/delete: nothing to throw away
    EXPECT_TRUE(std::filesystem::exists(copy));
    EXPECT_EQ(read(keys::modeDelete), QStringLiteral("delete"));
}

TEST_F(StartWindowTest, AMissingWeedingCopyDoesNotStopTheUpgradeStep) {
    write(keys::autoDelete, "300");
    write(keys::modeDelete, "delete");
    const auto window = open();
    EXPECT_TRUE(fake.failure.messages.isEmpty());
    EXPECT_TRUE(read(keys::autoDelete).isEmpty());
    EXPECT_TRUE(read(keys::modeDelete).isEmpty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(StartWindowTest, AFailedFetchRaisesNoNoticeAndTheWindowOpens) {
    http.document.reset();
    const auto window = open();
    EXPECT_EQ(http.asked.size(), 1);
    EXPECT_TRUE(fake.messages.shown.isEmpty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(fake.failure.messages.isEmpty());
}

// ---- Update check against a loopback server ---------------------------------------------------

struct UpdateCase {
    const char* document;
    bool notice;
};

void PrintTo(const UpdateCase& c, std::ostream* os) {
    *os << '"' << c.document << '"';
}

class UpdateCheck : public StartWindowTest, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(UpdateCheck, ANewerPublishedVersionShowsTheNoticeOpensTheSiteAndUnloads) {
    testing_support::VersionServer server;
    server.serve(GetParam().document);
    LoopbackFetch fetch(server.address(), 5000);
    const auto window = open(&fetch);
    EXPECT_EQ(server.requests, 1);
    EXPECT_EQ(fetch.asked, QStringList{core::site::updateAddress()});
    if (GetParam().notice) {
        EXPECT_EQ(fake.messages.shown, QStringList{kUpdateNotice});
        EXPECT_EQ(fake.browser.opened, QStringList{core::site::siteAddress()});
        EXPECT_TRUE(window->unloaded());
        EXPECT_FALSE(window->isVisible());
    } else {
        EXPECT_TRUE(fake.messages.shown.isEmpty());
        EXPECT_TRUE(fake.browser.opened.isEmpty());
        EXPECT_FALSE(window->unloaded());
        EXPECT_TRUE(window->isVisible());
    }
    EXPECT_TRUE(fake.navigator.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Documents, UpdateCheck,
                         ::testing::Values(UpdateCase{"5.4", false}, UpdateCase{"5.5", true},
                                           UpdateCase{"5.41", true}, UpdateCase{"abc", false}),
                         [](const auto& info) {
                             return testing_support::caseName(info.param.document);
                         });

TEST_F(StartWindowTest, AServerThatNeverAnswersEndsTheCheckAtItsTimeOutAndTheWindowOpens) {
    testing_support::SilentServer server;
    LoopbackFetch fetch(server.address(), 300);
    const auto window = open(&fetch);
    EXPECT_EQ(fetch.asked.size(), 1);
    EXPECT_TRUE(fake.messages.shown.isEmpty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(fake.failure.messages.isEmpty());
}

TEST_F(StartWindowTest, TheSiblingNoticeComesBeforeTheUpdateNotice) {
    write(keys::checkQuillmoor, "10");
    http.document = QByteArray("6");
    open();
    EXPECT_EQ(fake.messages.shown, (QStringList{kSiblingNotice, kUpdateNotice}));
    EXPECT_EQ(fake.browser.opened.size(), 2);
}

// ---- Voice check ------------------------------------------------------------------------------

TEST_F(StartWindowTest, WithThePreferredVoiceTheSwitchTurnsOnAndTheSiteLinkShows) {
    fake.speech.voices << QStringLiteral("VW Kate");
    const auto window = open();
    window->Form_Activate();
    EXPECT_EQ(read(keys::voiceSwitch), QStringLiteral("true"));
    EXPECT_TRUE(window->Label3->isVisible());
    EXPECT_FALSE(window->Label2->isVisible());
}

TEST_F(StartWindowTest, WithoutThePreferredVoiceTheDownloadOfferShows) {
    const auto window = open();
    window->Form_Activate();
    EXPECT_TRUE(read(keys::voiceSwitch).isEmpty());
    EXPECT_TRUE(window->Label2->isVisible());
    EXPECT_FALSE(window->Label3->isVisible());
}

TEST_F(StartWindowTest, AnEarlierFindKeepsTheSiteLinkAfterTheVoiceIsGone) {
    write(keys::voiceSwitch, "true");
    const auto window = open();
    window->Form_Activate();
    EXPECT_EQ(read(keys::voiceSwitch), QStringLiteral("true"));
    EXPECT_TRUE(window->Label3->isVisible());
    EXPECT_FALSE(window->Label2->isVisible());
}

TEST_F(StartWindowTest, NoSpeechSupportCountsAsNoVoiceFound) {
    fake.speech.available = false;
    const auto window = open();
    window->Form_Activate();
    EXPECT_TRUE(fake.failure.messages.isEmpty());
    EXPECT_TRUE(read(keys::voiceSwitch).isEmpty());
    EXPECT_TRUE(window->Label2->isVisible());
}

// The real speech engine (in memory) over the test's program folder: the voice the program
// brings is found where its file lies, and nowhere else.
TEST_F(StartWindowTest, TheRealEngineFindsTheProgramsOwnVoiceInTheProgramFolder) {
    speech::EspeakEngine engine(speech::EspeakEngine::Output::Memory,
                                fake.folders.paths.programFolder);
    const core::WindowServices real = testing_support::replaced(services(), {.speech = &engine});
    const auto check = [&real] {
        Form1 window(real);
        window.show();
        window.Form_Activate();
        return std::pair(window.Label2->isVisible(), window.Label3->isVisible());
    };

    EXPECT_EQ(check(), std::pair(true, false)) << "without the voice file";
    EXPECT_TRUE(read(keys::voiceSwitch).isEmpty());

    std::filesystem::copy_file(QM_PROGRAM_FOLDER "/vw_kate.voice",
                               fake.folders.paths.file("vw_kate.voice"));
    EXPECT_EQ(check(), std::pair(false, true)) << "with the voice file";
    EXPECT_EQ(read(keys::voiceSwitch), QStringLiteral("true"));
    EXPECT_TRUE(fake.failure.messages.isEmpty());
}

TEST_F(StartWindowTest, ActivationFollowsTheShowingByItselfOnce) {
    fake.speech.voices << QStringLiteral("VW Kate");
    const auto window = open();
    EXPECT_FALSE(window->Label2->isVisible());
    EXPECT_FALSE(window->Label3->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Label3->isVisible(); }))
        << "the voice check did not run";
    QCoreApplication::processEvents();
    EXPECT_EQ(fake.speech.created, 1);
}

// ---- Logo animation and looks -----------------------------------------------------------------

TEST_F(StartWindowTest, TheLogoShowsFramesOneToFiveAndNeverSix) {
    const auto window = open();
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_EQ(window->Timer1->interval(), 180);
    QStringList shown;
    for (int tick = 0; tick < 12; ++tick) {
        window->Timer1_Timer();
        shown << window->Image2->look();
    }
    EXPECT_EQ(shown, (QStringList{"logo 1", "logo 2", "logo 3", "logo 4", "logo 5", "logo 1",
                                  "logo 2", "logo 3", "logo 4", "logo 5", "logo 1", "logo 2"}));
    EXPECT_EQ(window->ImageList1.count(), 6);
    EXPECT_EQ(window->Image2->picture().size(), QSize(93, 73));
}

void moveOver(QWidget* w) {
    QTest::mouseMove(w, w->rect().center());
}

TEST_F(StartWindowTest, ButtonsDarkenUnderThePointerAndTheBackgroundRestoresThem) {
    const auto window = open();
    EXPECT_EQ(window->Image3->look(), QStringLiteral("start light"));
    EXPECT_EQ(window->Image4->look(), QStringLiteral("exit light"));
    EXPECT_EQ(window->Image5->look(), QStringLiteral("dictionary light"));
    moveOver(window->Image3);
    EXPECT_EQ(window->Image3->look(), QStringLiteral("start dark"));
    moveOver(window->Image4);
    EXPECT_EQ(window->Image4->look(), QStringLiteral("exit dark"));
    moveOver(window->Image5);
    EXPECT_EQ(window->Image5->look(), QStringLiteral("dictionary dark"));
    EXPECT_EQ(window->Image3->look(), QStringLiteral("start dark"));  // until the background
    QTest::mouseMove(window->Image1, QPoint(700, 550));
    EXPECT_EQ(window->Image3->look(), QStringLiteral("start light"));
    EXPECT_EQ(window->Image4->look(), QStringLiteral("exit light"));
    EXPECT_EQ(window->Image5->look(), QStringLiteral("dictionary light"));
}

struct LabelLook {
    const char* name;
    QRect geometry;
    QString caption;
    double pointSize;
    QColor colour;
    Qt::Alignment horizontal;
};

TEST_F(StartWindowTest, TheLabelsShowTheirCaptionsInPlaceInTheirFontsAndColours) {
    const auto window = open();
    const QColor yellow(255, 255, 0);
    const LabelLook looks[] = {
        {"Label1", {632, 400, 121, 33}, QStringLiteral("V5.4"), 26.25, yellow, Qt::AlignLeft},
        {"Label2",
         {360, 32, 425, 57},
         QStringLiteral("软件检测到您的电脑未安装所需的语音文件，为了保证学习效果，"
                        "请点击此处下载语音文件。"),
         14.25,
         yellow,
         Qt::AlignLeft},
        {"Label3",
         {376, 40, 401, 49},
         QStringLiteral("点此进入软件官网，下载更多英语学习软件：") + core::site::siteHost(),
         12,
         QColor(0, 255, 255),
         Qt::AlignHCenter},
    };
    const QLabel* labels[] = {window->Label1, window->Label2, window->Label3};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(looks[i].name);
        const QLabel* label = labels[i];
        EXPECT_EQ(label->geometry(), looks[i].geometry);
        EXPECT_EQ(label->text(), looks[i].caption);
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), looks[i].pointSize);
        EXPECT_TRUE(label->font().bold());
        EXPECT_TRUE(label->font().families().contains(QStringLiteral("宋体")));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), looks[i].colour);
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, looks[i].horizontal);
        EXPECT_FALSE(label->autoFillBackground());
    }
    // The start and exit buttons and both labels share the custom pointer; the dictionary
    // button keeps the default one.
    EXPECT_EQ(window->Image3->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window->Image4->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window->Label2->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window->Label3->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window->Image5->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(window->size(), QSize(800, 600));
    EXPECT_EQ(window->Image3->geometry(), QRect(136, 400, 60, 22));
    EXPECT_EQ(window->Image5->geometry(), QRect(288, 400, 108, 23));
    EXPECT_EQ(window->Image4->geometry(), QRect(464, 400, 108, 23));
    EXPECT_EQ(window->Image2->pos(), QPoint(24, 24));
}

// ---- Ways out and links -----------------------------------------------------------------------

void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

TEST_F(StartWindowTest, TheStartButtonShowsTheSettingsWindowAndUnloads) {
    const auto window = open();
    click(window->Image3);
    ASSERT_EQ(fake.navigator.shown.size(), 1u);
    EXPECT_EQ(fake.navigator.shown[0], core::WindowKind::Settings);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_EQ(fake.navigator.quits, 0);
}

TEST_F(StartWindowTest, TheDictionaryButtonShowsTheDictionaryWindowAndUnloads) {
    const auto window = open();
    click(window->Image5);
    ASSERT_EQ(fake.navigator.shown.size(), 1u);
    EXPECT_EQ(fake.navigator.shown[0], core::WindowKind::Dictionary);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(StartWindowTest, TheExitButtonUnloadsAndEndsTheProgram) {
    const auto window = open();
    click(window->Image4);
    EXPECT_TRUE(fake.navigator.shown.empty());
    EXPECT_EQ(fake.navigator.quits, 1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(StartWindowTest, BothLinkLabelsOpenTheSite) {
    fake.speech.voices << QStringLiteral("VW Kate");
    const auto window = open();
    window->Form_Activate();
    click(window->Label3);
    write(keys::voiceSwitch, "");
    fake.speech.voices.clear();
    window->Form_Activate();
    click(window->Label2);
    EXPECT_EQ(fake.browser.opened,
              (QStringList{core::site::siteAddress(), core::site::siteAddress()}));
    EXPECT_TRUE(window->Label3->text().endsWith(core::site::siteHost()));
}

}  // namespace
