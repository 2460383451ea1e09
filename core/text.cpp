#include "core/text.h"

#include <QList>

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace core {

namespace {

// Converts with one iconv descriptor. Returns the bytes written and, on a stop, the number
// of input bytes consumed before the offending sequence.
struct Conversion {
    QByteArray out;
    bool ok = true;
    size_t consumed = 0;
};

Conversion convert(const char* to, const char* from, const QByteArray& in) {
    Conversion result;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        result.ok = false;
        return result;
    }
    std::vector<char> buffer(static_cast<size_t>(in.size()) * 4 + 16);
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        result.ok = false;
    } else if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        result.ok = false;
    }
    result.consumed = static_cast<size_t>(in.size()) - inLeft;
    result.out = QByteArray(buffer.data(), static_cast<qsizetype>(buffer.size() - outLeft));
    iconv_close(cd);
    return result;
}

}  // namespace

std::optional<QByteArray> toGbk(const QString& text, int* badIndex) {
    // UTF-32 input lets the consumed byte count name the character at fault.
    QByteArray utf32;
    utf32.reserve(text.size() * 4);
    const QList<uint> codes = text.toUcs4();
    for (uint code : codes) {
        utf32.append(reinterpret_cast<const char*>(&code), 4);
    }
    const Conversion c = convert("GBK", "UTF-32LE", utf32);
    if (c.ok) {
        return c.out;
    }
    if (badIndex != nullptr) {
        // Map the code-point index back to the QString index (surrogate pairs count twice).
        const size_t codeIndex = c.consumed / 4;
        int index = 0;
        for (size_t i = 0; i < codeIndex && i < static_cast<size_t>(codes.size()); ++i) {
            index += codes[static_cast<qsizetype>(i)] > 0xFFFF ? 2 : 1;
        }
        *badIndex = index;
    }
    return std::nullopt;
}

std::optional<QString> fromGbk(const QByteArray& bytes) {
    const Conversion c = convert("UTF-8", "GBK", bytes);
    if (!c.ok) {
        return std::nullopt;
    }
    return QString::fromUtf8(c.out);
}

}  // namespace core
