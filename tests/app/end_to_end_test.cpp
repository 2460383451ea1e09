// The real program on an X display of its own, inside a network namespace of its own: its
// windows, their size and the round trip through them, driven by clicks.
#include "app/start_window.h"

#include "tests/app/start_fakes.h"
#include "tests/support/fakes.h"
#include "ui/picture.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>

namespace {

bool toolsPresent() {
    for (const char* tool : {"unshare", "xvfb-run", "xdotool", "xprop", "xwininfo", "import"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            return false;
        }
    }
    return geteuid() == 0;  // unshare -n needs root
}

bool copyInto(const QString& from, const QString& folder) {
    const QString to = folder + QLatin1Char('/') + QFileInfo(from).fileName();
    return QFile::copy(from, to) &&
           QFile::setPermissions(to, QFile::permissions(from) | QFileDevice::WriteOwner);
}

struct Step {
    QString name;
    QString window;
    QString size;
};

std::vector<Step> readSteps(const QString& file) {
    std::vector<Step> steps;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return steps;
    }
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().split(QLatin1Char(' '));
        steps.push_back({parts.value(0), parts.value(1), parts.value(2)});
    }
    return steps;
}

// Mean difference per colour channel over the window, leaving out the logo and the link labels
// (the animation and the voice check change them).
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    int count = 0;
    for (int py = 0; py < 600; py += 3) {
        for (int px = 0; px < 800; px += 3) {
            if ((px < 130 && py < 110) || (px >= 350 && py < 100)) {
                continue;
            }
            const QRgb p = x.pixel(px, py);
            const QRgb q = y.pixel(px, py);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
            count += 3;
        }
    }
    return sum / count;
}

TEST(EndToEnd, TheRealProgramGoesFromStartToSettingsToStudyAndBackThroughClicks) {
    if (!toolsPresent()) {
        GTEST_SKIP() << "needs root, unshare, xvfb-run, xdotool, xprop, xwininfo and import";
    }
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
    const QString home = dir.filePath(QStringLiteral("home"));
    const QString out = dir.filePath(QStringLiteral("out"));
    for (const QString& folder : {program, home, out}) {
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    // A program folder of its own, with freshly built word files: the learner's stay untouched.
    const QString shipped = QStringLiteral(QM_BUILD_DIR "/shipped/");
    for (const QString& file :
         {QStringLiteral(QM_PROGRAM_FOLDER "/vocabtrainer"), shipped + "qmlexi.dic",
          shipped + "fallible.dic", shipped + "falliblebak.dic",
          QStringLiteral(QM_SOURCE_DIR "/data/error.bat")}) {
        ASSERT_TRUE(copyInto(file, program)) << file.toStdString();
    }

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + "/.config");
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(
        QStringLiteral("unshare"),
        {QStringLiteral("-n"), QStringLiteral("xvfb-run"), QStringLiteral("-a"),
         QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"), QStringLiteral("sh"),
         QStringLiteral(QM_SOURCE_DIR "/tests/app/end_to_end.sh"), program + "/vocabtrainer", out});
    ASSERT_TRUE(run.waitForFinished(100000)) << "the round trip did not end";
    const QByteArray output = run.readAll();

    const std::vector<Step> steps = readSteps(out + "/steps.txt");
    ASSERT_EQ(steps.size(), 4u) << output.toStdString();
    const char* names[] = {"start", "settings", "study", "return"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(steps[i].name, QString::fromLatin1(names[i]));
        EXPECT_EQ(steps[i].size, QStringLiteral("800x600")) << names[i];
    }
    EXPECT_NE(steps[3].window, steps[0].window) << "the return shows a new start window";

    QFile status(out + "/status.txt");
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    EXPECT_EQ(status.readAll().trimmed(), QByteArray("0")) << "the exit button ends the program";

    // The grab shows the start window's own artwork: compare it with an offscreen one.
    ui::installFontSubstitutions();
    testing_support::FakeServices fake;
    testing_support::ScriptedEcho echo;
    echo.status = 11050;
    core::WindowServices services = fake.services();
    services.echo = &echo;
    Form1 reference(services);
    reference.show();
    const QImage expected = reference.grab().toImage();
    const QImage start(out + "/start.png");
    const QImage settings(out + "/settings.png");
    const QImage back(out + "/return.png");
    ASSERT_EQ(start.size(), QSize(800, 600));
    EXPECT_LT(meanDifference(start, expected), 6.0);
    EXPECT_LT(meanDifference(back, expected), 6.0);
    EXPECT_GT(meanDifference(settings, expected), 30.0) << "the settings window looks different";
}

}  // namespace
