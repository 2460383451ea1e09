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

// Opening a converter loads its tables: each direction is opened once per thread and reset
// before every use.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

  private:
    iconv_t cd_;
};

Conversion convert(Converter& converter, const QByteArray& in) {
    Conversion result;
    if (!converter.valid()) {
        result.ok = false;
        return result;
    }
    iconv_t cd = converter.get();
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
    thread_local Converter toGbkConverter("GBK", "UTF-32LE");
    const Conversion c = convert(toGbkConverter, utf32);
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
    thread_local Converter fromGbkConverter("UTF-8", "GBK");
    const Conversion c = convert(fromGbkConverter, bytes);
    if (!c.ok) {
        return std::nullopt;
    }
    return QString::fromUtf8(c.out);
}

}  // namespace core
