// The program's four windows, as the navigator makes them.
#include "app/program_windows.h"

#include "app/start_window.h"
#include "core/window_services.h"

#include <QWidget>

#include <cstdio>

#if QM_HAVE_SETTINGS_WINDOW
#include "settings/settings_window.h"
#endif
#if QM_HAVE_STUDY_WINDOW
#include "drill/study_window.h"
#endif
#if QM_HAVE_DICTIONARY_WINDOW
#include "lookup/dictionary_window.h"
#endif

namespace app {

std::unique_ptr<QWidget> makeProgramWindow(core::WindowKind kind,
                                           const core::WindowServices& services) {
    switch (kind) {
        case core::WindowKind::Start:
            return std::make_unique<Form1>(services);
        case core::WindowKind::Settings:
#if QM_HAVE_SETTINGS_WINDOW
            return std::make_unique<Form2>(services);
#else
            break;
#endif
        case core::WindowKind::Study:
#if QM_HAVE_STUDY_WINDOW
            return std::make_unique<Form3>(services);
#else
            break;
#endif
        case core::WindowKind::Dictionary:
#if QM_HAVE_DICTIONARY_WINDOW
            return std::make_unique<Form4>(services);
#else
            break;
#endif
    }
    // Placeholder while a window is not part of the build yet: the start window comes back.
    std::fputs("this window is not part of the program yet\n", stderr);
    return std::make_unique<Form1>(services);
}

}  // namespace app
