#pragma once

#include "core/failure.h"
#include "core/paths.h"
#include "core/services.h"

namespace settings {
class Store;
}
namespace speech {
class Engine;
}
namespace net {
class EchoProbe;
class HttpFetch;
}  // namespace net

namespace core {

/// Everything a window reaches outside itself, handed to its constructor. The program fills
/// it with the real services (app/), tests with fakes and temporary folders.
struct WindowServices {
    Paths paths;
    settings::Store& store;
    speech::Engine& speech;
    FailurePath& failure;
    Clock& clock;
    TimeOfDay& timeOfDay;
    Random& random;
    MessageBoxes& messages;
    Browser& browser;
    Launcher& launcher;
    Navigator& navigator;
    net::EchoProbe* echo = nullptr;  // start window only
    net::HttpFetch* http = nullptr;  // start window only
};

}  // namespace core
