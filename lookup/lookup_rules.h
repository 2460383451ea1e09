#pragma once

#include "words/word_line.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

// The rules of the dictionary window without the window: which path an entry takes, the
// exact hit and the near-match bands of the English look-up, the result texts, and the
// maintainer's import lines and gloss upkeep.
namespace lookup {

/// The line break of the result texts and of the import file.
inline constexpr char kCrLf[] = "\r\n";

inline constexpr char kDidYouMean[] = "您要找的是不是：";
inline constexpr char kTooMany[] = "查询的条目太多，请重新选择条件。";
inline constexpr char kNotFound[] = "对不起，本词典中暂时没有这个词！";
inline constexpr char kNotFoundGoTo[] = "请到";
inline constexpr char kNotFoundTellAuthor[] = "网站告诉软件作者尽快增加这个词汇，谢谢！";

/// A Chinese look-up lists this many matches in full; the next one is the last it lists.
inline constexpr int kChineseMatchLimit = 30;

/// The text without leading and trailing blanks (spaces only; tabs stay).
QString trimBlanks(QStringView text);

/// True when the entry's first character is a double-byte character of the GBK code page:
/// its 16-bit code read as a signed number is 0 or below. Letters, digits, blanks,
/// punctuation and characters that GBK lacks (written as "?") take the English path.
bool takesChinesePath(const QString& entry);

/// The exact hit of the English look-up: both sides without outer blanks, case-sensitive.
bool isExactHit(const QString& entry, const QString& headword);

/// The side of a text in the near-match comparison for an entry of `entryLength` characters
/// as typed: up to 4 the text without outer blanks, from 5 on its first L - 1, L - 2 or
/// L - 3 characters by band; lower-cased in every band.
QString nearMatchKey(const QString& text, qsizetype entryLength);

/// True when the headword is a near match of the entry (see nearMatchKey).
bool isNearMatch(const QString& entry, const QString& headword);

/// One listed entry of a result: the headword as stored, a line break, the gloss.
QString entryText(const QString& headword, const QString& gloss);

/// A result list being built: entries separated by an empty line.
class ResultList {
  public:
    void add(const QString& headword, const QString& gloss);
    int count() const { return count_; }
    /// The list of an English look-up: the "did you mean" line, then the entries.
    QString suggestions() const;
    /// The list of a Chinese look-up, with the too-many line when `cutOff`.
    QString matches(bool cutOff) const;

  private:
    QString text_;
    int count_ = 0;
};

/// What the window shows when a look-up finds nothing.
QString notFoundText(const QString& siteAddress);

/// The import file's lines as bytes: each ends at CR LF (or a lone LF or CR); a line break
/// after the last line adds no empty line.
std::vector<QByteArray> splitImportLines(const QByteArray& content);

/// One line of the import file as text: the headword is the line up to its first pair of
/// consecutive blanks, the gloss the rest, both without outer blanks. Nothing when the line
/// has no such pair or no headword before it (an empty line, a line that begins with two
/// blanks). The gloss may be empty.
std::optional<words::WordLine> parseImportLine(QStringView line);

/// One line of the import file as it lies in the file (GBK bytes, no line break). Nothing
/// when parseImportLine gives nothing, when the bytes are not valid GBK, or when the gloss is
/// too long to be read back from the store.
std::optional<words::WordLine> readImportLine(const QByteArray& gbkLine);

/// The message that names the import lines left out (1-based line numbers, ascending).
QString skippedLinesMessage(const std::vector<int>& lineNumbers);

/// The gloss with every ". . . " written as "..."; nothing when it holds no ". . . ".
std::optional<QString> cleanedGloss(const QString& gloss);

/// The gloss check: true when the gloss carries no meaning after its part-of-speech prefix
/// (nothing but blanks after the first "."), and for a gloss without any "." (it has no
/// prefix at all).
bool glossLacksMeaning(const QString& gloss);

}  // namespace lookup
