// The number readers of stored settings take any text.
#include "core/numbers.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double leading = core::leadingNumber(text);
    if (!std::isfinite(leading)) {
        __builtin_trap();
    }
    if (const auto strict = core::strictNumber(text); strict && *strict != leading) {
        __builtin_trap();
    }
    (void)core::numberText(leading);
    (void)core::roundHalfEven(leading, 3);
    return 0;
}
