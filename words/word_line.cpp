#include "words/word_line.h"

namespace words {

namespace {

QString trimBlanks(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == QLatin1Char(' ')) {
        ++from;
    }
    while (to > from && text[to - 1] == QLatin1Char(' ')) {
        --to;
    }
    return text.mid(from, to - from).toString();
}

}  // namespace

std::optional<WordLine> parseWordLine(const QString& line) {
    QStringView view(line);
    if (view.endsWith(QLatin1Char('\n'))) {
        view.chop(1);
    }
    if (view.endsWith(QLatin1Char('\r'))) {
        view.chop(1);
    }
    const qsizetype p = view.indexOf(QLatin1String("  "));
    if (p < 0) {
        return std::nullopt;
    }
    WordLine result{trimBlanks(view.left(p)), trimBlanks(view.mid(p))};
    if (result.word.isEmpty() || result.gloss.isEmpty()) {
        return std::nullopt;
    }
    return result;
}

}  // namespace words
