#pragma once

#include <QString>
#include <QStringView>

namespace words {

/// Longest text the encoder takes, and most groups the decoder takes; beyond them both fail
/// with an overflow error (core::Error), touching nothing.
inline constexpr int kMaxEncodeChars = 32766;
inline constexpr int kMaxDecodeGroups = 8191;

/// The hex text of `text`: per character four upper-case hex digits of its GBK code
/// ("a" gives 0061, 书 gives CAE9). A character that GBK cannot hold is written as the
/// code of "?" (003F), as the code page's own conversion substitutes it.
QString GBToHex(const QString& text);

/// The text of a hex text: one character per whole group of four digits, a trailing partial
/// group ignored. A group that holds a non-hex character, or a code that is no GBK
/// character, decodes to "?".
QString HexToGB(const QString& hex);

/// A gloss as stored in `qmnote`: its hex text with the characters in reverse order.
QString toStoredNote(const QString& gloss);

/// The gloss of a stored `qmnote`: reversed, then decoded.
QString fromStoredNote(const QString& stored);

/// The same gloss decoded into `gloss`, whose storage is reused.
void decodeStoredNote(QStringView stored, QString& gloss);

}  // namespace words
