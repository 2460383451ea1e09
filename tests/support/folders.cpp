#include "tests/support/folders.h"

#include "words/codec.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <string>

namespace testing_support {

QString outputFolder(const QString& name) {
    const QString folder = QStringLiteral(QM_BUILD_DIR "/test-output/") + name;
    QDir().mkpath(folder);
    return folder;
}

TestFolders::TestFolders() {
    paths.programFolder = programDir_.path().toStdString();
    paths.maintainerFile =
        std::filesystem::path(programDir_.path().toStdString()) / "desktop" / "waittoadd.txt";
    store_ = std::make_unique<settings::IniStore>(settingsDir_.path());
}

void TestFolders::createMaintainerFile(const QByteArray& content) {
    std::filesystem::create_directories(paths.maintainerFile.parent_path());
    QFile f(core::pathText(paths.maintainerFile));
    f.open(QIODevice::WriteOnly);
    f.write(content);
}

void TestFolders::writeWordFile(const char* file, const std::vector<words::WordEntry>& rows,
                                const char* table) {
    const auto path = paths.file(file);
    std::filesystem::remove(path);
    auto db = words::Database::create(path);
    words::createWordTable(*db, table);
    db->begin();
    for (const auto& row : rows) {
        db->execute(
            QStringLiteral("insert into %1 (qmword, qmnote, qmuse, qmdelete) values "
                           "(?, ?, ?, ?)")
                .arg(QString::fromLatin1(table)),
            {row.qmword ? words::Value(*row.qmword) : words::Value(), words::Value(row.qmnote),
             words::Value(row.qmuse), words::Value(row.qmdelete)});
    }
    db->commit();
}

void TestFolders::writeEmptyLists() {
    writeWordFile(words::kNewWordFile, {}, words::kNewWordTable);
    writeWordFile(words::kNewWordTemplate, {}, words::kNewWordTable);
}

void TestFolders::writeNumberedWords(int n) {
    std::vector<words::WordEntry> rows;
    rows.reserve(static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i) {
        rows.push_back(
            entry(QStringLiteral("w%1").arg(i), QStringLiteral("n.词%1").arg(i), n + 30 - i));
    }
    writeWordFile(words::kWordFile, rows);
}

words::WordEntry entry(const QString& word, const QString& gloss, double use, double del) {
    return {word, words::toStoredNote(gloss), use, del};
}

std::vector<words::WordEntry> readRows(const std::filesystem::path& file, const char* table) {
    words::Database db(file);
    words::Recordset rs;
    rs.open(db, QStringLiteral("select * from %1").arg(QString::fromLatin1(table)));
    std::vector<words::WordEntry> rows;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const auto& w = rs.field(words::kWord);
        rows.push_back({w.isNull() ? std::nullopt : std::optional<QString>(w.text()),
                        rs.field(words::kNote).text(), rs.field(words::kUse).number(),
                        rs.field(words::kDelete).number()});
    }
    return rows;
}

bool integrityOk(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    bool ok = false;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, "pragma integrity_check", -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
            ok = text != nullptr && std::string(text) == "ok";
        }
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return ok;
}

}  // namespace testing_support
