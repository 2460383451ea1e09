#include "tests/hardening/hardening_support.h"

#include "words/word_store.h"

#include <QFile>

#include <sqlite3.h>

namespace hardening {

namespace {

void readFolder(const std::filesystem::path& folder, const std::string& label,
                std::map<std::string, QByteArray>& files) {
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder, ec)) {
        if (!e.is_regular_file()) {
            continue;
        }
        QFile f(core::pathText(e.path()));
        f.open(QIODevice::ReadOnly);
        files[label + std::filesystem::relative(e.path(), folder).string()] = f.readAll();
    }
}

}  // namespace

FolderSnapshot::FolderSnapshot(testing_support::FakeServices& fake) {
    readFolder(fake.folders.paths.programFolder, "program/", files_);
    readFolder(fake.folders.settingsFolder().toStdString(), "settings/", files_);
}

QStringList FolderSnapshot::changesSince(const FolderSnapshot& earlier) const {
    QStringList changes;
    for (const auto& [name, content] : files_) {
        const auto old = earlier.files_.find(name);
        if (old == earlier.files_.end()) {
            changes << QStringLiteral("new: %1").arg(QString::fromStdString(name));
        } else if (old->second != content) {
            changes << QStringLiteral("changed: %1").arg(QString::fromStdString(name));
        }
    }
    for (const auto& [name, content] : earlier.files_) {
        if (files_.find(name) == files_.end()) {
            changes << QStringLiteral("gone: %1").arg(QString::fromStdString(name));
        }
    }
    return changes;
}

namespace {

// The numbers of one column for the rows of one headword, in file order.
std::vector<long long> numbersOf(const std::filesystem::path& file, const char* sql,
                                 const QString& word) {
    std::vector<long long> values;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        const QByteArray utf8 = word.toUtf8();
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_bind_text(s, 1, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT) == SQLITE_OK) {
            while (sqlite3_step(s) == SQLITE_ROW) {
                values.push_back(sqlite3_column_int64(s, 0));
            }
        }
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return values;
}

}  // namespace

WordState readWordState(const core::Paths& paths, const QString& word) {
    WordState state;
    const auto uses = numbersOf(paths.file(words::kWordFile),
                                "select qmuse from qmlexitable where qmword = ? order by rowid "
                                "limit 1",
                                word);
    state.use = uses.empty() ? -1 : uses.front();
    state.listed =
        numbersOf(paths.file(words::kNewWordFile),
                  "select qmdelete from qmlexitable1 where qmword = ? order by rowid", word);
    return state;
}

std::string formatWordState(const WordState& state) {
    std::string out = std::to_string(state.use) + " " + std::to_string(state.listed.size());
    for (long long d : state.listed) {
        out += " " + std::to_string(d);
    }
    return out;
}

WordState parseWordState(std::istream& in) {
    WordState state;
    size_t rows = 0;
    in >> state.use >> rows;
    for (size_t i = 0; i < rows; ++i) {
        long long d = 0;
        in >> d;
        state.listed.push_back(d);
    }
    return state;
}

}  // namespace hardening
