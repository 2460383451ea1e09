// The codec never reads or writes outside its input, whatever text it is given.
#include "words/codec.h"

#include "core/failure.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const QString hex = words::GBToHex(text);
        if (hex.size() % 4 != 0) {
            __builtin_trap();
        }
        // Every GBK character survives the round trip; others become "?".
        if (words::HexToGB(hex).size() > text.size()) {
            __builtin_trap();
        }
    } catch (const core::Error&) {
    }
    try {
        (void)words::HexToGB(text);
        // Decoding into a buffer that held an earlier gloss gives the same text.
        QString reused = text;
        words::decodeStoredNote(text, reused);
        if (reused != words::fromStoredNote(text)) {
            __builtin_trap();
        }
    } catch (const core::Error&) {
    }
    return 0;
}
