#pragma once

#include "core/paths.h"
#include "words/word_store.h"

#include <QString>

namespace settings {
class Store;
}

namespace drill {

/// The missed question's word as the question driver took it from the main list.
struct MissedWord {
    QString word;  // qmword
    QString note;  // qmnote, stored form
    double use;    // qmuse when the question was drawn, before the miss lowered it
};

enum class ListEntry {
    Found,    // the word was on the list: every row of it raised by 2, its gloss renewed
    Added,    // a new row with difficulty 15; both list counters raised by 1
    NotAdded  // adding the row failed and was undone: list and counters as they were
};

/// Puts a missed word on the new-word list, or raises its difficulty there (every plan but
/// the new-word plan). When check/fallible is empty the template first replaces the list.
/// The list is opened into `list` when closed and is always closed afterwards.
///
/// The row changes, the new row and the two counters go in as one step: the list's writes
/// run in one transaction that is committed only after both counters are stored, and a
/// failure anywhere rolls the list back and puts back any counter already written. So a
/// failed upkeep leaves list and counters as they were, and the word's next miss runs it
/// afresh. A failure while adding the row (from the insertion to the commit) is given up
/// and reported as NotAdded; any earlier failure is thrown after the undo.
ListEntry enterMissedWord(words::StorePair& list, const core::Paths& paths, settings::Store& store,
                          const MissedWord& word);

}  // namespace drill
