// The published version document is untrusted: any bytes give a finite version number.
#include "net/update_check.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray document(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double version = net::publishedVersion(document);
    if (!std::isfinite(version)) {
        __builtin_trap();
    }
    if (net::newerVersionPublished(document, 5.4) != (version > 5.4)) {
        __builtin_trap();
    }
    return 0;
}
