#pragma once

#include "core/paths.h"
#include "words/recordset.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace settings {
class Store;
}

namespace words {

// The database files of the program folder.
inline constexpr char kWordFile[] = "qmlexi.dic";
inline constexpr char kWeedingFile[] = "backqmlexi.dic";
inline constexpr char kNewWordFile[] = "fallible.dic";
inline constexpr char kNewWordTemplate[] = "falliblebak.dic";

inline constexpr char kWordTable[] = "qmlexitable";
inline constexpr char kNewWordTable[] = "qmlexitable1";

// Field names of a word record, the same in both tables.
inline constexpr char kWord[] = "qmword";
inline constexpr char kNote[] = "qmnote";
inline constexpr char kUse[] = "qmuse";
inline constexpr char kDelete[] = "qmdelete";

// The queries and sorts of the study window and the dictionary window.
inline constexpr char kWordsByUse[] = "select * from qmlexitable order by qmuse desc";
inline constexpr char kWordsUnsorted[] = "select * from qmlexitable";
inline constexpr char kWordsByWord[] = "select * from qmlexitable order by qmword asc";
inline constexpr char kListByDeleteAsc[] = "select * from qmlexitable1 order by qmdelete asc";
inline constexpr char kListByWordDesc[] = "select * from qmlexitable1 order by qmword desc";
inline constexpr char kByDeleteDesc[] = "qmdelete desc";

/// One word record as plain values (the builder of the shipped files and tests use it).
struct WordEntry {
    std::optional<QString> qmword;  // nothing: the Null headword of a broken list row
    QString qmnote;                 // stored form (reversed hex)
    double qmuse = 0;
    double qmdelete = 0;
};

/// A database connection and its recordset, kept by a window for its lifetime.
/// An unopened pair reports the closed state.
struct StorePair {
    std::unique_ptr<Database> conn;
    Recordset rs;

    bool isOpen() const { return rs.isOpen(); }
};

/// The schema of a word table or new-word list, for files made by the program's own tools.
void createWordTable(Database& db, const char* table);

/// Opens `file` of the program folder into the pair and runs the query; a sort order, when
/// given, is set afterwards.
void openPair(StorePair& pair, const core::Paths& paths, const char* file, const QString& sql,
              const QString& sortSpec = {});

/// Closes a pair: a pending change saved, then recordset and connection released. A failed
/// save still leaves the pair closed before its error goes on. An unopened pair is left alone.
void closePair(StorePair& pair);

/// Closes a window's store objects: the new-word pair, then the main pair.
void closeWindowStore(StorePair& newWords, StorePair& main);

/// Copies a closed database file as a whole: first to a neighbour, then renamed into place, so
/// that no half-written copy is ever left under the target's name. A write of the source that
/// was cut short is rolled back first, and a journal of the replaced target is dropped.
void copyDatabaseFile(const std::filesystem::path& from, const std::filesystem::path& to);

/// When the new-word list is missing, copies its template into place and stores "0" in both
/// list counters.
void restoreNewWordList(const core::Paths& paths, settings::Store& store);

/// Makes the weeding copy unless one is in use (Mode/delete = "delete"), then opens it
/// sorted by weeding order. `repaint` runs before the copy, which can take a moment.
void openWeedingCopy(StorePair& main, const core::Paths& paths, settings::Store& store,
                     const std::function<void()>& repaint);

/// What the recount of the new-word list leaves to the window.
struct ListCount {
    int rowCount = 0;     // rows after the removal of Null headwords: mFallibleCount
    int listScanPos = 0;  // number of the first pending row, or the rows walked when none is
    int barBase = 0;      // rowCount - listScanPos - 19: pending rows minus 20
};

/// Opens the new-word list by difficulty, stores its row count in check/fallible, removes the
/// rows without headword and stores the number of pending rows (difficulty above 8) in
/// auto/fallible. A list without pending rows stores "0": the plan is then closed to the
/// learner and has nothing to play.
ListCount openAndRecountNewWordList(StorePair& list, const core::Paths& paths,
                                    settings::Store& store);

/// Counts the words in play: rows from the first in the recordset's order whose qmuse is
/// above the threshold, up to the first that is not.
int countWordsInPlay(Recordset& words, double threshold);

/// The gloss of the current row, decoded.
QString currentGloss(const Recordset& rs);
/// The same, decoded into `gloss`, whose storage is reused: a walk that reads the gloss of
/// every row allocates nothing per row.
void currentGloss(const Recordset& rs, QString& gloss);

}  // namespace words
