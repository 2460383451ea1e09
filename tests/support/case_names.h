#pragma once

#include <QString>

#include <cctype>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

namespace testing_support {

/// One part of a parameterised case's name: ASCII letters and digits stay, a minus sign reads
/// "minus", another character "u" and its code in hex (书 reads "u4E66"), anything else an
/// underscore; an empty text reads "empty".
inline std::string casePart(const QString& text) {
    if (text.isEmpty()) {
        return "empty";
    }
    std::string name;
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 128 && std::isalnum(static_cast<unsigned char>(code))) {
            name += static_cast<char>(code);
        } else if (code == '-') {
            name += "minus";
        } else if (code >= 128) {
            name += "u" + QString::number(code, 16).toUpper().toStdString();
        } else {
            name += '_';
        }
    }
    return name;
}

inline std::string casePart(std::string_view text) {
    return casePart(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

inline std::string casePart(const char* text) {
    return text == nullptr ? std::string("none") : casePart(std::string_view(text));
}

inline std::string casePart(const std::string& text) {
    return casePart(std::string_view(text));
}

template <typename T>
std::string casePart(const std::optional<T>& value) {
    return value ? casePart(*value) : std::string("none");
}

template <typename Number>
requires(std::is_arithmetic_v<Number> && !std::is_same_v<Number, bool>) std::string
    casePart(Number value) {
    std::ostringstream text;
    text << value;
    return casePart(text.str());
}

/// A case's name from what sets it apart, parts joined by underscores: stable from run to run
/// and readable in the test list ("Pending/Threshold.Offers/20_5_disabled").
template <typename... Parts>
std::string caseName(const Parts&... parts) {
    std::string name;
    ((name += (name.empty() ? "" : "_") + casePart(parts)), ...);
    return name;
}

}  // namespace testing_support
