#pragma once

#include "core/services.h"

#include <memory>

class QWidget;

namespace core {
struct WindowServices;
}

namespace app {

/// A new window of the kind, made from the services: the start window, the settings
/// window, the study window or the dictionary window.
std::unique_ptr<QWidget> makeProgramWindow(core::WindowKind kind,
                                           const core::WindowServices& services);

}  // namespace app
