#include "words/word_store.h"

#include "core/failure.h"
#include "settings/keys.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "words/codec.h"

namespace words {

namespace fs = std::filesystem;

void createWordTable(Database& db, const char* table) {
    db.execute(QStringLiteral("create table %1 (qmword text, qmnote text, qmuse numeric, "
                              "qmdelete numeric)")
                   .arg(QString::fromLatin1(table)));
}

void openPair(StorePair& pair, const core::Paths& paths, const char* file, const QString& sql,
              const QString& sortSpec) {
    closePair(pair);
    pair.conn = std::make_unique<Database>(paths.file(file));
    pair.rs.open(*pair.conn, sql);
    if (!sortSpec.isEmpty()) {
        pair.rs.sort(sortSpec);
    }
}

void closePair(StorePair& pair) {
    // Closing the recordset saves its pending row. Even when that fails the pair ends closed,
    // the recordset before the connection, so that nothing is left pointing at a released one.
    std::exception_ptr failure;
    try {
        pair.rs.close();
    } catch (...) {
        failure = std::current_exception();
    }
    pair.conn.reset();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void closeWindowStore(StorePair& newWords, StorePair& main) {
    closePair(newWords);
    closePair(main);
}

void copyDatabaseFile(const fs::path& from, const fs::path& to) {
    if (fs::exists(from)) {
        // A write cut short (the program killed half-way) leaves its journal beside the file,
        // and the file itself may hold half of that write. Opening the file once rolls the
        // journal back, so the copy gets the finished changes only.
        Database settle(from);
    }
    const fs::path part = fs::path(to).concat(".part");
    std::error_code ec;
    fs::copy_file(from, part, fs::copy_options::overwrite_existing, ec);
    if (!ec) {
        // A journal left by the file being replaced would be rolled back into the new copy
        // the next time it is opened, mixing the two.
        fs::remove(fs::path(to).concat("-journal"), ec);
    }
    if (!ec) {
        fs::rename(part, to, ec);
    }
    if (ec) {
        std::error_code ignored;
        fs::remove(part, ignored);
        throw core::Error(QStringLiteral("无法复制文件 %1 到 %2: %3")
                              .arg(core::pathText(from), core::pathText(to),
                                   QString::fromStdString(ec.message())));
    }
}

void restoreNewWordList(const core::Paths& paths, settings::Store& store) {
    if (fs::exists(paths.file(kNewWordFile))) {
        return;
    }
    copyDatabaseFile(paths.file(kNewWordTemplate), paths.file(kNewWordFile));
    store.write(settings::keys::checkFallible, QStringLiteral("0"));
    store.write(settings::keys::autoFallible, QStringLiteral("0"));
}

void openWeedingCopy(StorePair& main, const core::Paths& paths, settings::Store& store,
                     const std::function<void()>& repaint) {
    if (store.read(settings::keys::modeDelete) != QLatin1String("delete")) {
        if (repaint) {
            repaint();
        }
        copyDatabaseFile(paths.file(kWordFile), paths.file(kWeedingFile));
        store.write(settings::keys::modeDelete, QStringLiteral("delete"));
    }
    openPair(main, paths, kWeedingFile, QString::fromLatin1(kWordsUnsorted),
             QString::fromLatin1(kByDeleteDesc));
}

ListCount openAndRecountNewWordList(StorePair& list, const core::Paths& paths,
                                    settings::Store& store) {
    openPair(list, paths, kNewWordFile, QString::fromLatin1(kListByDeleteAsc));
    Recordset& rs = list.rs;
    store.writeNumber(settings::keys::checkFallible, rs.recordCount());

    rs.moveFirst();
    while (!rs.eof()) {
        if (rs.field(kWord).isNull()) {
            rs.deleteCurrent();
        }
        rs.moveNext();
    }

    ListCount count;
    count.rowCount = rs.recordCount();
    bool pendingFound = false;
    rs.moveFirst();
    while (!rs.eof()) {
        ++count.listScanPos;
        if (rs.field(kDelete).number() > 8) {
            store.writeNumber(settings::keys::autoFallible, count.rowCount - count.listScanPos + 1);
            pendingFound = true;
            break;
        }
        rs.moveNext();
    }
    if (!pendingFound) {
        // Nothing is pending: the plan has no word to play and stays closed to the learner.
        store.writeNumber(settings::keys::autoFallible, 0);
    }
    count.barBase = count.rowCount - count.listScanPos - 19;
    return count;
}

int countWordsInPlay(Recordset& words, double threshold) {
    return words.moveWhileAbove(kUse, threshold);
}

QString currentGloss(const Recordset& rs) {
    QString gloss;
    currentGloss(rs, gloss);
    return gloss;
}

void currentGloss(const Recordset& rs, QString& gloss) {
    // Decoded straight from the stored text, without a copy of it first.
    QString scratch;
    decodeStoredNote(rs.field(kNote).textIn(scratch), gloss);
}

}  // namespace words
