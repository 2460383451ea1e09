// The start window's artwork as the build draws it, the drawn-resource form, the picture
// control's scaling, and the launcher of the first-start batch file.
#include "app/spawn_launcher.h"
#include "ui/picture.h"

#include <QDir>
#include <QFile>
#include <QResource>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The start window's sources live in a static library: their resources are registered by hand.
static void registerStartArtwork() {
    Q_INIT_RESOURCE(start);
}

namespace {

struct Artwork {
    const char* name;
    int width;
    int height;
};

// The start window's pictures at the sizes the window shows them (app/CMakeLists.txt).
constexpr Artwork kStartArtwork[] = {
    {"background", 800, 600},     {"logo_1", 93, 73},      {"logo_2", 93, 73},
    {"logo_3", 93, 73},           {"logo_4", 93, 73},      {"logo_5", 93, 73},
    {"logo_6", 93, 73},           {"exit_dark", 108, 23},  {"dictionary_light", 108, 23},
    {"dictionary_dark", 108, 23}, {"start_light", 60, 22}, {"exit_light", 108, 23},
    {"start_dark", 60, 22},       {"pointer", 32, 32},
};

class DrawnArtwork : public ::testing::Test {
  protected:
    DrawnArtwork() {
        registerStartArtwork();
        ui::installFontSubstitutions();
    }
};

TEST_F(DrawnArtwork, EveryStartPictureIsTheBuildsDrawingOfItsSource) {
    for (const Artwork& art : kStartArtwork) {
        SCOPED_TRACE(art.name);
        const QString source = QStringLiteral(":/start/%1.svg").arg(QString::fromLatin1(art.name));
        const QString drawn = ui::drawnResource(source, art.width, art.height);
        EXPECT_EQ(drawn, QStringLiteral(":/drawn/start/%1_%2x%3.raw")
                             .arg(QString::fromLatin1(art.name))
                             .arg(art.width)
                             .arg(art.height));
        ASSERT_TRUE(QResource(drawn).isValid())
            << "the build made no drawing " << drawn.toStdString();
        const QImage fresh = ui::drawSvg(source, art.width, art.height);
        const QImage shown = ui::renderSvg(source, art.width, art.height).toImage();
        EXPECT_EQ(shown.format(), fresh.format());
        EXPECT_TRUE(shown == fresh) << "the drawing differs from its source as drawn now";
    }
}

TEST_F(DrawnArtwork, TheBackgroundIsShownFromTheProgramWithoutACopy) {
    const QResource drawn(ui::drawnResource(QStringLiteral(":/start/background.svg"), 800, 600));
    ASSERT_TRUE(drawn.isValid());
    ASSERT_EQ(drawn.compressionAlgorithm(), QResource::NoCompression);
    const QImage shown =
        ui::renderSvg(QStringLiteral(":/start/background.svg"), 800, 600).toImage();
    EXPECT_GE(shown.constBits(), drawn.data());
    EXPECT_LT(shown.constBits(), drawn.data() + drawn.size());
}

TEST_F(DrawnArtwork, ASizeWithoutADrawingIsDrawnFromTheSource) {
    const QString source = QStringLiteral(":/start/logo_2.svg");
    EXPECT_FALSE(QResource(ui::drawnResource(source, 50, 40)).isValid());
    const QImage shown = ui::renderSvg(source, 50, 40).toImage();
    EXPECT_EQ(shown.size(), QSize(50, 40));
    EXPECT_TRUE(shown == ui::drawSvg(source, 50, 40));
}

TEST(Drawings, AreReadBackOnlyAtTheirOwnSizeAndWhole) {
    QImage image(3, 2, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            image.setPixel(x, y, qRgba(40 * x, 90 * y, 7, 200 + x + y));
        }
    }
    const QByteArray bytes = ui::drawingBytes(image);
    const std::optional<QImage> back = ui::drawingFromBytes(bytes, 3, 2);
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(*back == image);
    EXPECT_FALSE(ui::drawingFromBytes(bytes, 2, 3).has_value());
    EXPECT_FALSE(ui::drawingFromBytes(bytes.left(bytes.size() - 1), 3, 2).has_value());
    EXPECT_FALSE(ui::drawingFromBytes(bytes + QByteArray(4, '\0'), 3, 2).has_value());
    EXPECT_FALSE(ui::drawingFromBytes(QByteArray(), 3, 2).has_value());
    QByteArray foreign = bytes;
    foreign[0] = static_cast<char>(foreign[0] ^ 0x5A);
    EXPECT_FALSE(ui::drawingFromBytes(foreign, 3, 2).has_value());
}

TEST(PictureControl, ScalesOnlyAPictureNotDrawnForItsSize) {
    ui::Picture picture;
    picture.setGeometry(0, 0, 93, 73);
    picture.show();
    QPixmap fitting(93, 73);
    fitting.fill(Qt::red);
    picture.setPicture(fitting);
    EXPECT_FALSE(picture.hasScaledContents());
    QPixmap small(20, 10);
    small.fill(Qt::blue);
    picture.setPicture(small);
    EXPECT_TRUE(picture.hasScaledContents());
    EXPECT_EQ(picture.picture().size(), QSize(20, 10));
    // A control resized to its picture shows it as it is, and scales it again when not.
    picture.resize(20, 10);
    EXPECT_FALSE(picture.hasScaledContents());
    picture.resize(40, 20);
    EXPECT_TRUE(picture.hasScaledContents());
}

TEST(SpawnLauncher, RunsTheBatchFileWithTheShellAndItsOutputGoesNowhere) {
    QTemporaryDir dir;
    const QString batch = dir.filePath(QStringLiteral("error.bat"));
    const QString marker = dir.filePath(QStringLiteral("ran.txt"));
    QFile file(batch);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral("echo ran > '%1'\necho noise\necho noise >&2\n").arg(marker).toUtf8());
    file.close();
    app::SpawnLauncher launcher;
    EXPECT_TRUE(launcher.startHidden(batch));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile(marker).size() > 0; }, 10000));
    QFile ran(marker);
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(ran.readAll(), QByteArray("ran\n"));
}

TEST(SpawnLauncher, DoesNotWaitForTheBatchFile) {
    QTemporaryDir dir;
    const QByteArray fifo = dir.filePath(QStringLiteral("go")).toLocal8Bit();
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    // Held open for both ends, so that neither the script's read nor this write blocks.
    const int go = open(fifo.constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(go, 0);
    const QString batch = dir.filePath(QStringLiteral("error.bat"));
    const QString marker = dir.filePath(QStringLiteral("done.txt"));
    QFile file(batch);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("read line < '%1'\necho \"$line\" > '%2'\n")
                   .arg(QString::fromLocal8Bit(fifo), marker)
                   .toUtf8());
    file.close();
    app::SpawnLauncher launcher;
    EXPECT_TRUE(launcher.startHidden(batch));
    // The script is still waiting for its line: nothing is written yet.
    EXPECT_FALSE(QFile::exists(marker));
    ASSERT_EQ(write(go, "go\n", 3), 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile(marker).size() > 0; }, 10000));
    close(go);
}

}  // namespace
