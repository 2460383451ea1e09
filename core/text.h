#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace core {

/// The byte length of a text as the windows measure it: two bytes per character.
inline int byteLength(const QString& text) {
    return 2 * static_cast<int>(text.size());
}

/// The text in the GBK code page. Returns nothing when a character has no GBK code;
/// `badIndex`, when given, receives the index of the first such character.
std::optional<QByteArray> toGbk(const QString& text, int* badIndex = nullptr);

/// GBK bytes as text. Returns nothing for bytes that are not valid GBK.
std::optional<QString> fromGbk(const QByteArray& bytes);

}  // namespace core
