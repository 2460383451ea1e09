#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <memory>
#include <variant>
#include <vector>

struct sqlite3;

namespace words {

/// A field value: Null, a number or a text.
class Value {
  public:
    Value() = default;
    Value(double number) : v_(number) {}
    Value(int number) : v_(static_cast<double>(number)) {}
    Value(QString text) : v_(std::move(text)) {}
    Value(const char* text) : v_(QString::fromUtf8(text)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isNumber() const { return std::holds_alternative<double>(v_); }
    /// The text of the value as text() gives it, without a copy when the value holds text;
    /// a number's or Null's text is written to `scratch`.
    const QString& textIn(QString& scratch) const {
        if (const QString* held = std::get_if<QString>(&v_)) {
            return *held;
        }
        scratch = text();
        return scratch;
    }
    /// The text of the value: a number as decimal text, Null as the empty text.
    QString text() const;
    /// The number of the value: a text by its leading number, Null as 0.
    double number() const;

    /// Ordering of `Sort`: Null first, then numbers, then texts by character code.
    int compare(const Value& other) const;
    bool operator==(const Value& other) const { return v_ == other.v_; }

  private:
    std::variant<std::monostate, double, QString> v_;
};

/// The field values of a recordset, in blocks of a few thousand: a whole table loads with an
/// allocation per block rather than per row, values never move once stored, and nothing is
/// copied as the store grows.
class CellStore {
  public:
    size_t size() const { return size_; }
    Value& operator[](size_t i) { return blocks_[i >> kShift][i & kMask]; }
    const Value& operator[](size_t i) const { return blocks_[i >> kShift][i & kMask]; }
    template <typename... Args>
    void emplace_back(Args&&... args) {
        if (size_ == blocks_.size() << kShift) {
            blocks_.push_back(std::make_unique<Value[]>(size_t{1} << kShift));
        }
        if constexpr (sizeof...(Args) > 0) {
            (*this)[size_] = Value(std::forward<Args>(args)...);
        }
        ++size_;
    }
    /// Grows by Null values up to n.
    void growTo(size_t n) {
        while (size_ < n) {
            emplace_back();
        }
    }
    void clear() {
        blocks_.clear();
        size_ = 0;
    }

  private:
    static constexpr int kShift = 12;
    static constexpr size_t kMask = (size_t{1} << kShift) - 1;
    std::vector<std::unique_ptr<Value[]>> blocks_;
    size_t size_ = 0;
};

/// An open database file. Every statement commits on its own, so each change is in the file
/// when the call returns; the rollback journal keeps the file whole if the process is killed.
class Database {
  public:
    /// Opens an existing database file; a missing, unreadable or foreign file is an error
    /// that names it, and nothing is created.
    explicit Database(const std::filesystem::path& file);
    /// Makes a new, empty database file (the build of the shipped files and tests).
    static std::unique_ptr<Database> create(const std::filesystem::path& file);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /// Runs statements without results.
    void execute(const QString& sql);
    /// Runs one statement with bound values.
    void execute(const QString& sql, const std::vector<Value>& values);
    /// Rowid of the last row inserted.
    long long lastRowId() const;

    /// Groups many writes into one transaction (an import); commit() makes them durable.
    void begin();
    void commit();
    void rollback();

    const std::filesystem::path& file() const { return file_; }
    sqlite3* handle() const { return db_; }
    /// An error naming the file and SQLite's message.
    [[noreturn]] void raise(const QString& what) const;

  private:
    Database() = default;
    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
};

/// The rows of one query held in memory: count known at open, moved through by 1-based
/// position, sorted after opening, changed in place with every change written to the file.
class Recordset {
  public:
    Recordset() = default;

    /// Opens on "select * from TABLE [order by ...]" over the database.
    void open(Database& db, const QString& sql);
    bool isOpen() const { return db_ != nullptr; }
    /// Saves a pending new row, then forgets the rows; the recordset is closed again, also when
    /// the save fails (its error follows).
    void close();

    int recordCount() const { return static_cast<int>(rows_.size()); }
    /// Orders the rows by one field, "qmdelete desc" or "qmword asc"; equal rows keep their
    /// order. Moves to the first row.
    void sort(const QString& spec);

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    /// Moves n rows from the current one; past the end gives EOF, before the start BOF.
    void move(int n);
    bool eof() const;
    bool bof() const;
    /// 1-based position of the current row.
    int position() const { return pos_ + 1; }

    /// A field of the current row; no current row is an error.
    const Value& field(const char* name) const;
    /// Changes a field of the current row; an existing row is written to the file at once.
    void setField(const char* name, const Value& value);
    /// Starts a new row at the end and makes it current; update() (or moving away) saves it.
    void addNew();
    /// Saves a pending new row; for an existing row there is nothing left to save.
    void update();
    /// Deletes the current row from the file and the recordset; the next moveNext() reaches
    /// the row that followed it.
    void deleteCurrent();

    /// Moves to the first row, then on while the number in field `name` is above
    /// `threshold`: the rows passed, the current row being the first that is not above it
    /// (or EOF).
    int moveWhileAbove(const char* name, double threshold);

    /// 1-based position, in the current order, of the first row whose field `name` holds
    /// `text` (compared as Value::text(); a Null field holds no text); 0 when no row does.
    /// Gives what a walk from the first row to the end would find, without the walk: the
    /// first call builds an index of the field, which holds until the rows or their order
    /// change. The current row stays where it is.
    int findFirst(const char* name, const QString& text);

    const QString& table() const { return table_; }

  private:
    // The fields of all rows lie in one store of blocks, a row's fields side by side from
    // `first`: a whole table loads without an allocation per row or a large block that grows
    // by copying, and a sort moves only the rows.
    struct Row {
        long long rowid = 0;  // 0 while the row is pending (added, not yet saved)
        size_t first = 0;     // index of the row's first field in cells_
    };
    int column(const char* name) const;
    const Row& current() const;
    Row& current();
    Value& cell(const Row& row, int col) { return cells_[row.first + static_cast<size_t>(col)]; }
    const Value& cell(const Row& row, int col) const {
        return cells_[row.first + static_cast<size_t>(col)];
    }
    [[noreturn]] void noCurrentRow() const;
    void dropIndex() {
        indexColumn_ = -1;
        scansWithoutIndex_ = 0;
    }

    // The index of findFirst: an open-addressing table of 1-based positions (0 = free slot)
    // over the rows of one field, holding the first position of each text. A recordset opened
    // for one look-up is scanned instead: the index pays from the second look-up on.
    int indexColumn_ = -1;
    int scansWithoutIndex_ = 0;
    std::vector<int> indexSlots_;

    Database* db_ = nullptr;
    QString table_;
    std::vector<QString> columns_;
    std::vector<QByteArray> columnKeys_;           // the same names as UTF-8, for field look-ups
    mutable std::vector<QByteArray> columnAsked_;  // the spelling each was last asked by
    std::vector<Row> rows_;
    CellStore cells_;
    int pos_ = -1;  // -1 BOF, size() EOF
    bool onDeleted_ = false;
    bool pending_ = false;
};

}  // namespace words
