#pragma once

#include <QString>

#include <optional>

namespace words {

/// One line of a word file: the headword, a run of two or more blanks, the gloss.
struct WordLine {
    QString word;
    QString gloss;
};

/// Splits a line at its first pair of consecutive blanks; both sides are trimmed of blanks.
/// A line without such a pair, or with an empty headword or gloss, gives nothing.
std::optional<WordLine> parseWordLine(const QString& line);

}  // namespace words
