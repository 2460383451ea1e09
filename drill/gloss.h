#pragma once

#include <QString>

#include <optional>

// The conventions of a gloss text (the decoded qmnote): its part-of-speech prefix, the verb-form
// entries and their base verb, the verb answer text. Positions are 1-based, comparisons exact.
namespace drill {

/// Length k of the part-of-speech prefix: the position of the first "." (0 without one).
int prefixLength(const QString& gloss);

/// The prefix test of the same-prefix choice maker: the first k characters of both texts are
/// equal, k being the prefix length of `drawn` (a shorter text counts whole; k = 0 always
/// passes).
bool samePrefix(const QString& drawn, const QString& chooseword);

/// "n.", "p.", "v." as the first two characters, or "adj", "adv" as the first three.
bool hasPosPrefix(const QString& gloss);

/// Ends in "过去分词", "现在分词" or "过去式": the entry of an inflected verb form.
bool isVerbForm(const QString& gloss);

/// The gloss without any blank (U+0020).
QString withoutBlanks(const QString& gloss);

/// The base verb of a verb-form gloss: blanks removed, then the text between the first "."
/// and the first "的", trimmed ("v.run 的过去式" gives "run"; without "." the text before "的").
/// Nothing when "的" is missing or stands before the first ".".
std::optional<QString> baseVerb(const QString& gloss);

/// Word, a blank, gloss and "(vbl)": "run v.跑(vbl)".
QString verbAnswerText(const QString& word, const QString& gloss);

/// The headword's first character is an upper-case Latin letter "A" to "Z".
bool isCapitalised(const QString& headword);

/// The headword lies from "A" to "Z" in character-code order: every headword beginning with
/// "A" to "Y", and "Z" alone (the vocabulary tests' filter).
bool inCapitalRange(const QString& headword);

}  // namespace drill
