#pragma once

#include <QString>

#include <optional>

namespace core {

/// The leading-number parse of stored settings: leading blanks are skipped, then an optional
/// sign, digits, an optional fraction and exponent are read; anything after is ignored.
/// "10 " reads 10, "20.5" reads 20.5, "abc" and "" read 0.
double leadingNumber(const QString& text);

/// The strict conversion: the whole text, apart from outer blanks, must be one number.
/// Returns nothing for a text that is not a number (the caller fails with a message).
std::optional<double> strictNumber(const QString& text);

/// Rounds to n decimals, an exact half going to the even neighbour (0.5 gives 0, 2.5 gives 2).
double roundHalfEven(double value, int decimals = 0);

/// A number as decimal text with a point and no trailing zeros: 2.45, 0, 10, -3.
QString numberText(double value);

}  // namespace core
