// The dictionary window's upkeep tools: import, gloss check, gloss clean-up and walk.
#include "core/failure.h"
#include "lookup/dictionary_window.h"
#include "lookup/lookup_rules.h"
#include "words/codec.h"

#include <QFile>

#include <vector>

namespace {

constexpr int kImportedUse = 10;
constexpr int kImportedDelete = 10;

}  // namespace

void Form4::Command1_Click() {
    guarded([this] { importWords(); });
}

void Form4::Command2_Click() {
    guarded([this] { checkGlosses(); });
}

void Form4::Command3_Click() {
    guarded([this] { cleanGlosses(); });
}

void Form4::Command4_Click() {
    guarded([this] { walkWords(); });
}

// ---- Import -----------------------------------------------------------------------------------

void Form4::importWords() {
    const QString fileName = core::pathText(mServices.paths.maintainerFile);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        // The file may have gone since the window opened: nothing is added.
        mServices.messages.inform(
            QStringLiteral("无法读取录入文件 %1，没有录入任何词汇。").arg(fileName));
        return;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        mServices.messages.inform(
            QStringLiteral("无法读取录入文件 %1，没有录入任何词汇。").arg(fileName));
        return;
    }
    if (content.isEmpty()) {
        return;
    }
    if (!mWords.isOpen()) {
        throw core::Error(QStringLiteral("词库 %1 没有打开，无法录入。")
                              .arg(core::pathText(mServices.paths.file(words::kWordFile))));
    }

    words::Recordset& rs = mWords.rs;
    words::Database& db = *mWords.conn;
    std::vector<int> skipped;
    // One transaction for the whole file: a row per statement would cost a disk sync each.
    // The commit at the end puts every row into the file before "ok" is shown.
    db.begin();
    try {
        const std::vector<QByteArray> lines = lookup::splitImportLines(content);
        for (size_t i = 0; i < lines.size(); ++i) {
            const auto line = lookup::readImportLine(lines[i]);
            if (!line) {
                skipped.push_back(static_cast<int>(i) + 1);
                continue;
            }
            // Each earlier row is saved as the next one is added.
            rs.addNew();
            rs.setField(words::kWord, line->word);
            rs.setField(words::kUse, kImportedUse);
            rs.setField(words::kNote, words::toStoredNote(line->gloss));
            rs.setField(words::kDelete, kImportedDelete);
        }
        rs.update();
        db.commit();
    } catch (...) {
        // The rows saved before the failure stay, as they would without the transaction.
        try {
            db.commit();
        } catch (...) {
        }
        throw;
    }
    if (!skipped.empty()) {
        mServices.messages.inform(lookup::skippedLinesMessage(skipped));
    }
    mServices.messages.inform(QStringLiteral("ok"));
}

// ---- Gloss check ------------------------------------------------------------------------------

void Form4::checkGlosses() {
    // Re-opened, the rows imported since the window opened take their place in headword order.
    words::closePair(mWords);
    openWords();
    words::Recordset& rs = mWords.rs;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString gloss = words::currentGloss(rs);
        if (lookup::glossLacksMeaning(gloss)) {
            // An empty box would not say which row has no gloss: its headword stands in.
            mServices.messages.inform(gloss.isEmpty() ? rs.field(words::kWord).text() : gloss);
        }
    }
    mServices.messages.inform(QStringLiteral("ok"));
}

// ---- Gloss clean-up ---------------------------------------------------------------------------

void Form4::cleanGlosses() {
    words::Recordset& rs = mWords.rs;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (const auto cleaned = lookup::cleanedGloss(words::currentGloss(rs))) {
            rs.setField(words::kNote, words::toStoredNote(*cleaned));
            rs.update();
        }
    }
    mServices.messages.inform(QStringLiteral("OK"));
}

// ---- Walk -------------------------------------------------------------------------------------

void Form4::walkWords() {
    words::Recordset& rs = mWords.rs;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
    }
    mServices.messages.inform(QStringLiteral("OK"));
}
