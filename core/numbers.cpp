#include "core/numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace core {

namespace {

size_t skipSign(const std::string& s, size_t i) {
    return i < s.size() && (s[i] == '+' || s[i] == '-') ? i + 1 : i;
}

size_t skipDigits(const std::string& s, size_t i) {
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
    }
    return i;
}

// Length of the longest number at the start of s (after the caller skipped blanks):
// sign, digits, fraction, exponent. Zero when no digit was found.
size_t numberPrefix(const std::string& s, size_t from) {
    size_t i = skipSign(s, from);
    size_t end = skipDigits(s, i);
    size_t digits = end - i;
    i = end;
    if (i < s.size() && s[i] == '.') {
        end = skipDigits(s, i + 1);
        digits += end - (i + 1);
        i = end;
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        const size_t exponent = skipSign(s, i + 1);
        end = skipDigits(s, exponent);
        if (end > exponent) {
            i = end;
        }
    }
    return i - from;
}

size_t skipBlanks(const std::string& s, size_t i) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) {
        ++i;
    }
    return i;
}

// The number text as a double, with a point as the decimal mark whatever the locale of the
// process (the windows set the user's, where a comma may be the mark). Out of range reads 0.
double toDouble(const std::string& s, size_t from, size_t length) {
    const char* first = s.data() + from;
    const char* last = first + length;
    if (first != last && *first == '+') {
        ++first;
    }
    double v = 0.0;
    const auto [end, error] = std::from_chars(first, last, v);
    return error == std::errc() && std::isfinite(v) ? v : 0.0;
}

}  // namespace

double leadingNumber(const QString& text) {
    const std::string s = text.toStdString();
    const size_t start = skipBlanks(s, 0);
    const size_t length = numberPrefix(s, start);
    return length == 0 ? 0.0 : toDouble(s, start, length);
}

std::optional<double> strictNumber(const QString& text) {
    const std::string s = text.toStdString();
    const size_t start = skipBlanks(s, 0);
    const size_t length = numberPrefix(s, start);
    if (length == 0 || skipBlanks(s, start + length) != s.size()) {
        return std::nullopt;
    }
    return toDouble(s, start, length);
}

double roundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled)) {
        return value;
    }
    // The double itself is rounded: nearbyint goes to the even neighbour on an exact half
    // under the default rounding mode, and a value a hair off the half goes to its nearer side.
    return std::nearbyint(scaled) / scale;
}

QString numberText(double value) {
    if (value == 0.0) {
        return QStringLiteral("0");
    }
    // Fifteen significant digits, as the stored numbers of the program have always shown.
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        text = QString::number(value, 'f', 15);
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0'))) {
                text.chop(1);
            }
            if (text.endsWith(QLatin1Char('.'))) {
                text.chop(1);
            }
        }
    }
    return text;
}

}  // namespace core
