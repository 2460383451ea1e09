#include "core/real_services.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QTime>
#include <QUrl>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace core {

namespace {

std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

std::int64_t SteadyClock::nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::idle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

double LocalTimeOfDay::secondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void MixingRandom::reseed(double seed) {
    std::uint64_t bits = 0;
    static_assert(sizeof(bits) == sizeof(seed));
    std::memcpy(&bits, &seed, sizeof(bits));
    state_ ^= mix(bits + 0x632BE59BD9B4E019ull);
}

double MixingRandom::next() {
    state_ += 0x9E3779B97F4A7C15ull;
    // 53 random bits give a uniform double in [0, 1).
    return static_cast<double>(mix(state_) >> 11) * 0x1.0p-53;
}

QString applicationTitle() {
    return QStringLiteral("背单词");
}

void BoxMessages::inform(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

void DesktopBrowser::open(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

bool ShellLauncher::startHidden(const QString& file) {
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({file});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

void BoxAndExitFailure::fail(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Critical, applicationTitle(), message, QMessageBox::Ok);
    box.exec();
    std::exit(1);
}

}  // namespace core
