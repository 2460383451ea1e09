#pragma once

#include <dlfcn.h>

namespace core {

/// Looks up `name` in a library opened with dlopen and keeps it as a pointer of the
/// function's own type: false when the library has no such entry point.
template <typename Function>
bool resolveSymbol(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

}  // namespace core
