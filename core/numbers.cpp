#include "core/numbers.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace core {

namespace {

// Length of the longest number at the start of s (after the caller skipped blanks):
// sign, digits, fraction, exponent. Zero when no digit was found.
size_t numberPrefix(const std::string& s, size_t from) {
    size_t i = from;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            ++j;
        }
        size_t expDigits = 0;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0) {
            i = j;
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

double toDouble(const std::string& s, size_t from, size_t length) {
    const double v = std::strtod(s.substr(from, length).c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
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
    // nearbyint rounds to even under the default rounding mode; going through a decimal text
    // of the scaled value first keeps 2.4449999 (binary for 2.445) from deciding the half.
    const double cleaned =
        std::strtod(QString::number(scaled, 'g', 15).toStdString().c_str(), nullptr);
    return std::nearbyint(cleaned) / scale;
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
