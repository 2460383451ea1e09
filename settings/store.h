#pragma once

#include <QString>

#include <functional>

#include <initializer_list>
#include <map>
#include <memory>
#include <utility>

class QSettings;

namespace settings {

/// One setting: application, section and key, each compared case-sensitively.
struct Key {
    const char* application;
    const char* section;
    const char* key;
};

/// The per-user settings store: string values by application, section and key.
class Store {
  public:
    virtual ~Store() = default;
    /// The stored text; a missing key reads as the empty text.
    virtual QString read(const Key& key) = 0;
    /// Stores the text byte for byte; it is in the file when the call returns.
    virtual void write(const Key& key, const QString& value) = 0;
    /// Stores several texts, in order, as `write` does each; a store kept in files may put
    /// the keys of one application into its file with a single rewrite.
    virtual void writeMany(std::initializer_list<std::pair<Key, QString>> values);
    /// Deletes one key; it then reads as the empty text.
    virtual void remove(const Key& key) = 0;

    /// The leading number of the stored text (empty or non-numeric reads 0).
    double number(const Key& key);
    /// The stored text as a number; a text that is not a number is an error naming the key.
    double strictNumber(const Key& key);
    /// Writes a number as decimal text.
    void writeNumber(const Key& key, double value);
};

/// The store kept in one INI file per application ("qmword.ini", ...) in a folder:
/// the user's configuration folder in the program, a temporary one in tests.
class IniStore final : public Store {
  public:
    explicit IniStore(QString folder);
    ~IniStore() override;

    /// `$XDG_CONFIG_HOME`, else `~/.config`.
    static QString userFolder();

    QString read(const Key& key) override;
    void write(const Key& key, const QString& value) override;
    /// One rewrite and sync of each application's file, whatever the number of its keys.
    void writeMany(std::initializer_list<std::pair<Key, QString>> values) override;
    void remove(const Key& key) override;

    QString fileOf(const char* application) const;

  private:
    QSettings& file(const char* application);
    void check(QSettings& s, const char* application);
    /// Reads the application's file again when it has changed since it was last read (or was
    /// never read); a damaged file is an error that names it.
    void takeInChanges(QSettings& s, const char* application);
    /// A file that is not settings text (binary junk) is an error that names it.
    void checkText(const char* application) const;
    /// Removes the empty lock file that a writer killed while taking the lock leaves behind.
    void clearBrokenLock(const char* application) const;
    /// Makes `change` to a file whose outside changes were taken in, and writes it back once.
    void rewrite(const char* application, const std::function<void(QSettings&)>& change);

    /// What a stat of a settings file showed: a rewrite changes the inode, size or time.
    struct Stamp {
        bool exists = false;
        unsigned long long device = 0, inode = 0;
        long long size = 0, seconds = 0, nanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };

    Stamp stampOf(const char* application) const;

    QString folder_;
    std::map<QString, std::unique_ptr<QSettings>> files_;
    std::map<QString, Stamp> stamps_;
};

}  // namespace settings
