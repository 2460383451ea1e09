// Dotted address texts: any text gives a value or one of the three address errors.
#include "net/module1.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const std::int32_t value = net::Module1::DottedToLong(text);
        if (text.count(QLatin1Char('.')) < 3 && value != 0) {
            __builtin_trap();
        }
    } catch (const net::DottedAddressError&) {
    }
    (void)net::Module1::PingStatusText(static_cast<std::int32_t>(size) - 100);
    return 0;
}
