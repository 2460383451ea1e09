// The program's four windows, as the navigator makes them.
#include "app/program_windows.h"

#include "app/start_window.h"
#include "core/window_services.h"
#include "drill/study_window.h"
#include "lookup/dictionary_window.h"
#include "settings/settings_window.h"

#include <QWidget>

namespace app {

std::unique_ptr<QWidget> makeProgramWindow(core::WindowKind kind,
                                           const core::WindowServices& services) {
    switch (kind) {
        case core::WindowKind::Settings:
            return std::make_unique<Form2>(services);
        case core::WindowKind::Study:
            return std::make_unique<Form3>(services);
        case core::WindowKind::Dictionary:
            return std::make_unique<Form4>(services);
        case core::WindowKind::Start:
            break;
    }
    return std::make_unique<Form1>(services);
}

}  // namespace app
