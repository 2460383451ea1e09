// The dictionary window's rules take any import file and any entry.
#include "lookup/lookup_rules.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

bool hasOuterBlank(const QString& text) {
    return text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The import file: every line either yields a storable word or is left out.
    for (const QByteArray& line : lookup::splitImportLines(bytes)) {
        if (line.contains('\r') || line.contains('\n')) {
            __builtin_trap();
        }
        if (const auto word = lookup::readImportLine(line)) {
            if (word->word.isEmpty() || word->word.contains(QLatin1String("  ")) ||
                hasOuterBlank(word->word) || hasOuterBlank(word->gloss) ||
                word->gloss.size() > 8191) {
                __builtin_trap();
            }
        }
    }

    // The same bytes as an entry and as a gloss.
    const QString text = QString::fromUtf8(bytes);
    lookup::takesChinesePath(text);
    if (!lookup::isExactHit(text, text) || !lookup::isNearMatch(text, text)) {
        __builtin_trap();
    }
    if (lookup::isExactHit(text, QLatin1Char(' ') + text + QLatin1Char(' ')) !=
        lookup::isExactHit(text, text)) {
        __builtin_trap();
    }
    if (const auto cleaned = lookup::cleanedGloss(text)) {
        if (cleaned->size() >= text.size()) {
            __builtin_trap();
        }
    }
    lookup::glossLacksMeaning(text);
    return 0;
}
