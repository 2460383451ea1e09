#include "words/recordset.h"

#include "core/failure.h"
#include "core/numbers.h"
#include "core/paths.h"

#include <sqlite3.h>

#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <exception>

namespace words {

// ---- Value ------------------------------------------------------------------------------

QString Value::text() const {
    if (const auto* s = std::get_if<QString>(&v_)) {
        return *s;
    }
    if (const auto* d = std::get_if<double>(&v_)) {
        return core::numberText(*d);
    }
    return {};
}

double Value::number() const {
    if (const auto* d = std::get_if<double>(&v_)) {
        return *d;
    }
    if (const auto* s = std::get_if<QString>(&v_)) {
        return core::leadingNumber(*s);
    }
    return 0.0;
}

int Value::compare(const Value& other) const {
    if (v_.index() != other.v_.index()) {
        return v_.index() < other.v_.index() ? -1 : 1;
    }
    if (const auto* d = std::get_if<double>(&v_)) {
        const double o = std::get<double>(other.v_);
        return *d < o ? -1 : (*d > o ? 1 : 0);
    }
    if (const auto* s = std::get_if<QString>(&v_)) {
        return s->compare(std::get<QString>(other.v_), Qt::CaseSensitive);
    }
    return 0;
}

// ---- Database ---------------------------------------------------------------------------

namespace {

// Owns a prepared statement for the length of one call.
class Statement {
  public:
    Statement(const Database& db, const QString& sql) : db_(db) {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db.handle(), utf8.constData(), static_cast<int>(utf8.size()), &s_,
                               nullptr) != SQLITE_OK) {
            db.raise(sql);
        }
    }
    ~Statement() { sqlite3_finalize(s_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(const std::vector<Value>& values) {
        for (size_t i = 0; i < values.size(); ++i) {
            const Value& v = values[i];
            const int index = static_cast<int>(i) + 1;
            int rc;
            if (v.isNull()) {
                rc = sqlite3_bind_null(s_, index);
            } else if (v.isNumber()) {
                rc = sqlite3_bind_double(s_, index, v.number());
            } else {
                const QByteArray utf8 = v.text().toUtf8();
                rc = sqlite3_bind_text(s_, index, utf8.constData(), static_cast<int>(utf8.size()),
                                       SQLITE_TRANSIENT);
            }
            if (rc != SQLITE_OK) {
                db_.raise(QStringLiteral("bind"));
            }
        }
    }
    /// True while a row is available.
    bool step() {
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc != SQLITE_DONE) {
            db_.raise(QString::fromUtf8(sqlite3_sql(s_)));
        }
        return false;
    }
    sqlite3_stmt* get() const { return s_; }

  private:
    const Database& db_;
    sqlite3_stmt* s_ = nullptr;
};

// A connection is used by the thread that opened it only (the window's event loop): no
// locking on every call, which a whole-table read would otherwise pay once per field.
constexpr int kOneThread = SQLITE_OPEN_NOMUTEX;

// Appends column i of the current result row, made in place.
void appendColumnValue(CellStore& cells, sqlite3_stmt* s, int i) {
    switch (sqlite3_column_type(s, i)) {
        case SQLITE_NULL:
            cells.emplace_back();
            break;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            cells.emplace_back(sqlite3_column_double(s, i));
            break;
        default: {
            // Text first, then its length: the length of the text as converted.
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
            cells.emplace_back(QString::fromUtf8(text, sqlite3_column_bytes(s, i)));
            break;
        }
    }
}

}  // namespace

Database::Database(const std::filesystem::path& file) : file_(file) {
    const int rc =
        sqlite3_open_v2(file.string().c_str(), &db_, SQLITE_OPEN_READWRITE | kOneThread, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            QStringLiteral("无法打开数据库文件 %1: %2")
                .arg(core::pathText(file),
                     QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc)));
        sqlite3_close(db_);
        db_ = nullptr;
        throw core::Error(message);
    }
    // A foreign file opens without complaint; the first read tells.
    try {
        execute(QStringLiteral("select count(*) from sqlite_master"));
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

std::unique_ptr<Database> Database::create(const std::filesystem::path& file) {
    std::unique_ptr<Database> db(new Database());
    db->file_ = file;
    if (sqlite3_open_v2(file.string().c_str(), &db->db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | kOneThread,
                        nullptr) != SQLITE_OK) {
        db->raise(QStringLiteral("create"));
    }
    return db;
}

Database::~Database() {
    sqlite3_close(db_);
}

void Database::raise(const QString& what) const {
    throw core::Error(QStringLiteral("数据库文件 %1 出错: %2 (%3)")
                          .arg(core::pathText(file_),
                               QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : "not open"), what));
}

void Database::execute(const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        sqlite3_free(error);
        raise(sql);
    }
}

void Database::execute(const QString& sql, const std::vector<Value>& values) {
    Statement s(*this, sql);
    s.bind(values);
    while (s.step()) {
    }
}

long long Database::lastRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

void Database::begin() {
    execute(QStringLiteral("begin immediate"));
}
void Database::commit() {
    execute(QStringLiteral("commit"));
}
void Database::rollback() {
    if (!sqlite3_get_autocommit(db_)) {
        execute(QStringLiteral("rollback"));
    }
}

// ---- Recordset --------------------------------------------------------------------------

void Recordset::open(Database& db, const QString& sql) {
    // The callers' queries are all "select * from TABLE [order by FIELD DIR]"; the rowid is
    // read beside the fields so that changes can be written back to their rows.
    static const QRegularExpression shape(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+(\\w+)(\\s+order\\s+by\\s+.*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = shape.match(sql);
    if (!match.hasMatch()) {
        throw core::Error(QStringLiteral("unsupported query: %1").arg(sql));
    }
    close();
    dropIndex();
    table_ = match.captured(1);
    const QString withRowid =
        QStringLiteral("select rowid, * from %1%2").arg(table_, match.captured(2));
    Statement s(db, withRowid);
    const int n = sqlite3_column_count(s.get());
    columns_.clear();
    columnKeys_.clear();
    columnAsked_.clear();
    for (int i = 1; i < n; ++i) {
        columnKeys_.emplace_back(sqlite3_column_name(s.get(), i));
        columnAsked_.emplace_back();
        columns_.push_back(QString::fromUtf8(columnKeys_.back()));
    }
    rows_.clear();
    cells_.clear();
    while (s.step()) {
        rows_.push_back(Row{sqlite3_column_int64(s.get(), 0), cells_.size()});
        for (int i = 1; i < n; ++i) {
            appendColumnValue(cells_, s.get(), i);
        }
    }
    db_ = &db;
    pos_ = rows_.empty() ? 0 : 0;  // first row, or EOF (= BOF) when empty
    onDeleted_ = false;
    pending_ = false;
}

void Recordset::close() {
    // Should saving the pending row fail, the recordset still ends closed: left open, it would
    // hold a row that the file lacks, over a connection that its owner is about to release.
    std::exception_ptr failure;
    if (db_ != nullptr && pending_) {
        try {
            update();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    db_ = nullptr;
    dropIndex();
    rows_.clear();
    cells_.clear();
    columns_.clear();
    columnKeys_.clear();
    columnAsked_.clear();
    pos_ = -1;
    onDeleted_ = false;
    pending_ = false;
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void Recordset::sort(const QString& spec) {
    update();
    const QStringList parts = spec.simplified().split(QLatin1Char(' '));
    const int col = column(parts.value(0).toUtf8().constData());
    const bool descending = parts.value(1).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
    dropIndex();
    std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
        const int c = cell(a, col).compare(cell(b, col));
        return descending ? c > 0 : c < 0;
    });
    moveFirst();
}

void Recordset::moveFirst() {
    update();
    pos_ = 0;
    onDeleted_ = false;
}

void Recordset::moveLast() {
    update();
    pos_ = rows_.empty() ? 0 : static_cast<int>(rows_.size()) - 1;
    onDeleted_ = false;
}

void Recordset::moveNext() {
    update();
    if (onDeleted_) {
        // The row that followed the deleted one already stands at this position.
        onDeleted_ = false;
        return;
    }
    pos_ = std::min(pos_ + 1, static_cast<int>(rows_.size()));
}

void Recordset::movePrevious() {
    update();
    onDeleted_ = false;
    pos_ = std::max(pos_ - 1, -1);
}

void Recordset::move(int n) {
    update();
    if (onDeleted_ && n > 0) {
        --n;
    }
    onDeleted_ = false;
    const long long target = static_cast<long long>(pos_) + n;
    pos_ =
        static_cast<int>(std::clamp<long long>(target, -1, static_cast<long long>(rows_.size())));
}

bool Recordset::eof() const {
    return pos_ >= static_cast<int>(rows_.size());
}

bool Recordset::bof() const {
    return pos_ < 0 || rows_.empty();
}

int Recordset::column(const char* name) const {
    // Called for every field read, also inside walks over the whole table. Callers name the
    // fields by the same constants each time: a spelling met before is found by an exact
    // compare, before the case-blind one that field names take.
    for (size_t i = 0; i < columnAsked_.size(); ++i) {
        if (std::strcmp(columnAsked_[i].constData(), name) == 0) {
            return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < columnKeys_.size(); ++i) {
        if (qstricmp(columnKeys_[i].constData(), name) == 0) {
            columnAsked_[i] = name;
            return static_cast<int>(i);
        }
    }
    const QString file = db_ ? core::pathText(db_->file()) : QStringLiteral("(closed)");
    throw core::Error(QStringLiteral("数据库文件 %1 的表 %2 中没有字段 %3")
                          .arg(file, table_, QString::fromUtf8(name)));
}

void Recordset::noCurrentRow() const {
    const QString file = db_ ? core::pathText(db_->file()) : QStringLiteral("(closed)");
    throw core::Error(QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前记录已被删除 (%1, %2)")
                          .arg(file, table_));
}

const Recordset::Row& Recordset::current() const {
    if (db_ == nullptr || onDeleted_ || pos_ < 0 || pos_ >= static_cast<int>(rows_.size())) {
        noCurrentRow();
    }
    return rows_[static_cast<size_t>(pos_)];
}

Recordset::Row& Recordset::current() {
    return const_cast<Row&>(static_cast<const Recordset*>(this)->current());
}

const Value& Recordset::field(const char* name) const {
    return cell(current(), column(name));
}

void Recordset::setField(const char* name, const Value& value) {
    const int col = column(name);
    Row& row = current();
    if (row.rowid != 0) {
        db_->execute(QStringLiteral("update %1 set %2 = ? where rowid = ?")
                         .arg(table_, columns_[static_cast<size_t>(col)]),
                     {value, Value(static_cast<double>(row.rowid))});
    }
    if (col == indexColumn_) {
        dropIndex();
    }
    cell(row, col) = value;
}

void Recordset::addNew() {
    if (db_ == nullptr) {
        noCurrentRow();
    }
    update();
    dropIndex();
    rows_.push_back(Row{0, cells_.size()});
    cells_.growTo(cells_.size() + columns_.size());
    pos_ = static_cast<int>(rows_.size()) - 1;
    onDeleted_ = false;
    pending_ = true;
}

void Recordset::update() {
    if (!pending_) {
        return;
    }
    Row& row = rows_.back();
    QStringList marks;
    for (size_t i = 0; i < columns_.size(); ++i) {
        marks << QStringLiteral("?");
    }
    QStringList names(columns_.begin(), columns_.end());
    std::vector<Value> values;
    for (size_t i = 0; i < columns_.size(); ++i) {
        values.push_back(cells_[row.first + i]);
    }
    db_->execute(QStringLiteral("insert into %1 (%2) values (%3)")
                     .arg(table_, names.join(','), marks.join(',')),
                 values);
    row.rowid = db_->lastRowId();
    pending_ = false;
}

void Recordset::deleteCurrent() {
    Row& row = current();
    if (row.rowid != 0) {
        db_->execute(QStringLiteral("delete from %1 where rowid = ?").arg(table_),
                     {Value(static_cast<double>(row.rowid))});
    } else {
        pending_ = false;
    }
    rows_.erase(rows_.begin() + pos_);
    dropIndex();
    onDeleted_ = true;
}

int Recordset::moveWhileAbove(const char* name, double threshold) {
    moveFirst();
    if (rows_.empty()) {
        return 0;
    }
    const int col = column(name);
    const int size = static_cast<int>(rows_.size());
    while (pos_ < size && cell(rows_[static_cast<size_t>(pos_)], col).number() > threshold) {
        ++pos_;
    }
    return pos_;
}

int Recordset::findFirst(const char* name, const QString& text) {
    if (rows_.empty()) {
        return 0;
    }
    const int col = column(name);
    // The field's text as a walk would compare it: a number by its decimal text.
    const auto textAt = [&](int index, QString& scratch) -> const QString* {
        const Value& v = cell(rows_[static_cast<size_t>(index)], col);
        return v.isNull() ? nullptr : &v.textIn(scratch);
    };
    QString scratch;
    if (indexColumn_ != col && scansWithoutIndex_ < 1) {
        ++scansWithoutIndex_;
        for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
            const QString* t = textAt(i, scratch);
            if (t != nullptr && *t == text) {
                return i + 1;
            }
        }
        return 0;
    }
    if (indexColumn_ != col) {
        size_t size = 16;
        while (size < rows_.size() * 2) {
            size *= 2;
        }
        indexSlots_.assign(size, 0);
        const size_t mask = size - 1;
        for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
            const QString* t = textAt(i, scratch);
            if (t == nullptr) {
                continue;
            }
            // Rows are entered in order, so a text met again keeps its first position.
            for (size_t slot = qHash(*t) & mask;; slot = (slot + 1) & mask) {
                const int held = indexSlots_[slot];
                if (held == 0) {
                    indexSlots_[slot] = i + 1;
                    break;
                }
                QString other;
                const QString* h = textAt(held - 1, other);
                if (*h == *t) {
                    break;
                }
            }
        }
        indexColumn_ = col;
    }
    const size_t mask = indexSlots_.size() - 1;
    for (size_t slot = qHash(text) & mask;; slot = (slot + 1) & mask) {
        const int held = indexSlots_[slot];
        if (held == 0) {
            return 0;
        }
        const QString* h = textAt(held - 1, scratch);
        if (*h == text) {
            return held;
        }
    }
}

}  // namespace words
