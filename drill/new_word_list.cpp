#include "drill/new_word_list.h"

#include "core/numbers.h"
#include "drill/answer_rules.h"
#include "settings/keys.h"
#include "settings/store.h"

namespace drill {

namespace {

using settings::keys::autoFallible;
using settings::keys::checkFallible;

// Closes the list on the way out of a failure; the first error is the one reported.
void closeAfterFailure(words::StorePair& list) {
    try {
        words::closePair(list);
    } catch (...) {
        list.conn.reset();
    }
}

void restoreCounter(settings::Store& store, const settings::Key& key, const QString& text) {
    try {
        store.write(key, text);
    } catch (...) {
        // The store itself fails: the original error says more than this one.
    }
}

// Raises every row of the word and renews its gloss; true when there was one.
bool raiseExistingRows(words::Recordset& rs, const MissedWord& word) {
    bool found = false;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const words::Value& headword = rs.field(words::kWord);
        if (!headword.isNull() && headword.text() == word.word) {
            rs.setField(words::kDelete, rs.field(words::kDelete).number() + kMissDifficultyStep);
            rs.setField(words::kNote, word.note);
            found = true;
        }
    }
    return found;
}

void insertRow(words::Database& db, const MissedWord& word) {
    // Inserted straight into the file rather than through the recordset, which is closed
    // right after: a failed insert then leaves no pending row behind that closing would
    // try to save a second time.
    db.execute(
        QStringLiteral("insert into %1 (qmword, qmuse, qmnote, qmdelete) values (?, ?, ?, ?)")
            .arg(QLatin1String(words::kNewWordTable)),
        {words::Value(word.word), words::Value(word.use), words::Value(word.note),
         words::Value(kNewEntryDifficulty)});
}

}  // namespace

ListEntry enterMissedWord(words::StorePair& list, const core::Paths& paths, settings::Store& store,
                          const MissedWord& word) {
    if (store.read(checkFallible).isEmpty()) {
        // The template goes into place before the counter says "0", so a failed copy leaves
        // the counter empty and the next miss copies again.
        closeAfterFailure(list);
        words::copyDatabaseFile(paths.file(words::kNewWordTemplate),
                                paths.file(words::kNewWordFile));
        store.write(checkFallible, QStringLiteral("0"));
    }
    if (!list.isOpen()) {
        words::openPair(list, paths, words::kNewWordFile,
                        QString::fromLatin1(words::kListByWordDesc));
    }

    const QString listedBefore = store.read(checkFallible);
    const QString pendingBefore = store.read(autoFallible);
    bool adding = false;
    ListEntry entry = ListEntry::Found;
    words::Database& db = *list.conn;
    try {
        db.begin();
        bool found = false;
        if (core::leadingNumber(pendingBefore) > 0) {
            found = raiseExistingRows(list.rs, word);
        }
        if (!found) {
            adding = true;
            insertRow(db, word);
            // Both counters go into the settings file with one rewrite.
            store.writeMany(
                {{checkFallible, core::numberText(core::leadingNumber(listedBefore) + 1)},
                 {autoFallible, core::numberText(core::leadingNumber(pendingBefore) + 1)}});
            entry = ListEntry::Added;
        }
        db.commit();
    } catch (...) {
        try {
            db.rollback();
        } catch (...) {
            // Closing the connection below rolls an open transaction back as well.
        }
        closeAfterFailure(list);
        if (!adding) {
            throw;
        }
        // A counter write can fail after the store took the value in: both are put back.
        restoreCounter(store, checkFallible, listedBefore);
        restoreCounter(store, autoFallible, pendingBefore);
        // A failed addition is given up and the miss goes on being handled; list and
        // counters are as before it, so the word's next miss adds it afresh.
        return ListEntry::NotAdded;
    }
    words::closePair(list);
    return entry;
}

}  // namespace drill
