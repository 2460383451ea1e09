// The program's start: the application, the real services, and the start window.
#include "app/navigator.h"
#include "app/program_windows.h"
#include "app/spawn_launcher.h"
#include "core/paths.h"
#include "core/real_services.h"
#include "core/window_services.h"
#include "net/http_fetch.h"
#include "net/icmp_probe.h"
#include "settings/store.h"
#include "speech/espeak_engine.h"
#include "ui/picture.h"

#include <QApplication>
#include <QPointer>

#include <dlfcn.h>

#include <clocale>
#include <thread>

int main(int argc, char** argv) {
    // The font configuration (the system's font settings and caches, which the start window's
    // captions need) is read while the application connects to the display. Qt reads it
    // through the same library, which it has already loaded, and finds it read.
    std::thread fontConfiguration([] {
        using Init = int (*)();
        if (const auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"))) {
            init();
        }
    });
    QApplication application(argc, argv);
    fontConfiguration.join();
    // Qt takes the user's locale; numbers read and written by the C library keep the point.
    std::setlocale(LC_NUMERIC, "C");
    // The navigator ends the program when its last window is gone; a window that unloads
    // itself before it was ever shown counts too.
    QApplication::setQuitOnLastWindowClosed(false);
    ui::installFontSubstitutions();

    core::SteadyClock clock;
    core::LocalTimeOfDay timeOfDay;
    core::MixingRandom random;
    core::BoxMessages messages;
    core::DesktopBrowser browser;
    app::SpawnLauncher launcher;
    core::BoxAndExitFailure failure;
    const core::Paths paths = core::Paths::installed();
    settings::IniStore store(settings::IniStore::userFolder());
    // The program's own voice lies in its folder beside the word files.
    speech::EspeakEngine speech(speech::EspeakEngine::Output::Playback, paths.programFolder);
    net::IcmpSocketProbe echo;
    net::CurlFetch http;

    const core::WindowServices* services = nullptr;
    app::WindowNavigator navigator(
        [&services](core::WindowKind kind) { return app::makeProgramWindow(kind, *services); });
    const core::WindowServices real{paths,     store,  speech,   failure, clock,
                                    timeOfDay, random, messages, browser, launcher,
                                    navigator, &echo,  &http};
    services = &real;

    navigator.show(core::WindowKind::Start);
    const int status = navigator.openWindows() > 0 ? application.exec() : 0;

    // Windows still there close their files while the services they use still exist.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete navigator.current();
    return status;
}
