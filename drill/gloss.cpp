#include "drill/gloss.h"

namespace drill {

int prefixLength(const QString& gloss) {
    return static_cast<int>(gloss.indexOf(QLatin1Char('.'))) + 1;
}

bool samePrefix(const QString& drawn, const QString& chooseword) {
    const int k = prefixLength(drawn);
    return drawn.left(k) == chooseword.left(k);
}

bool hasPosPrefix(const QString& gloss) {
    static const QString two[] = {QStringLiteral("n."), QStringLiteral("p."), QStringLiteral("v.")};
    static const QString three[] = {QStringLiteral("adj"), QStringLiteral("adv")};
    for (const QString& p : two) {
        if (gloss.left(2) == p) {
            return true;
        }
    }
    for (const QString& p : three) {
        if (gloss.left(3) == p) {
            return true;
        }
    }
    return false;
}

bool isVerbForm(const QString& gloss) {
    return gloss.endsWith(QStringLiteral("过去分词")) ||
           gloss.endsWith(QStringLiteral("现在分词")) || gloss.endsWith(QStringLiteral("过去式"));
}

QString withoutBlanks(const QString& gloss) {
    QString text = gloss;
    text.remove(QLatin1Char(' '));
    return text;
}

std::optional<QString> baseVerb(const QString& gloss) {
    const QString text = withoutBlanks(gloss);
    const int p = static_cast<int>(text.indexOf(QLatin1Char('.'))) + 1;
    const int q = static_cast<int>(text.indexOf(QStringLiteral("的"))) + 1;
    const int length = q - 1 - p;
    if (q == 0 || length < 0) {
        return std::nullopt;
    }
    // Every blank is gone already, so the trim of the base has nothing left to do.
    return text.mid(p, length);
}

QString verbAnswerText(const QString& word, const QString& gloss) {
    return word + QLatin1Char(' ') + gloss + QStringLiteral("(vbl)");
}

bool isCapitalised(const QString& headword) {
    return !headword.isEmpty() && headword.at(0) >= QLatin1Char('A') &&
           headword.at(0) <= QLatin1Char('Z');
}

bool inCapitalRange(const QString& headword) {
    return QString::compare(headword, QStringLiteral("A")) >= 0 &&
           QString::compare(headword, QStringLiteral("Z")) <= 0;
}

}  // namespace drill
