// The word-line parser of the import file takes any line.
#include "words/word_line.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString line =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto parsed = words::parseWordLine(line)) {
        if (parsed->word.isEmpty() || parsed->gloss.isEmpty() ||
            parsed->word.contains(QLatin1String("  "))) {
            __builtin_trap();
        }
    }
    return 0;
}
