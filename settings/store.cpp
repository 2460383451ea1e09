#include "settings/store.h"

#include "core/failure.h"
#include "core/numbers.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string_view>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace settings {

namespace {

// How long an empty lock file must stay empty before it counts as left by a killed writer.
constexpr std::chrono::milliseconds kBrokenLockAge{100};

QString address(const Key& key) {
    return QString::fromUtf8(key.section) + QLatin1Char('/') + QString::fromUtf8(key.key);
}

QString keyName(const Key& key) {
    return QStringLiteral("%1/%2/%3")
        .arg(QString::fromUtf8(key.application), QString::fromUtf8(key.section),
             QString::fromUtf8(key.key));
}

}  // namespace

double Store::number(const Key& key) {
    return core::leadingNumber(read(key));
}

double Store::strictNumber(const Key& key) {
    const QString text = read(key);
    const auto value = core::strictNumber(text);
    if (!value) {
        throw core::Error(
            QStringLiteral("类型不匹配: 设置 %1 的值 \"%2\" 不是数字").arg(keyName(key), text));
    }
    return *value;
}

void Store::writeMany(std::initializer_list<std::pair<Key, QString>> values) {
    for (const auto& [key, value] : values) {
        write(key, value);
    }
}

void Store::writeNumber(const Key& key, double value) {
    write(key, core::numberText(value));
}

IniStore::IniStore(QString folder) : folder_(std::move(folder)) {}

IniStore::~IniStore() = default;

QString IniStore::userFolder() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : xdg;
}

QString IniStore::fileOf(const char* application) const {
    return folder_ + QLatin1Char('/') + QString::fromUtf8(application) + QStringLiteral(".ini");
}

QSettings& IniStore::file(const char* application) {
    const QString name = QString::fromUtf8(application);
    auto it = files_.find(name);
    if (it == files_.end()) {
        QDir().mkpath(folder_);
        it = files_
                 .emplace(name,
                          std::make_unique<QSettings>(fileOf(application), QSettings::IniFormat))
                 .first;
    }
    return *it->second;
}

void IniStore::check(QSettings& s, const char* application) {
    if (s.status() == QSettings::AccessError) {
        throw core::Error(QStringLiteral("无法写入设置文件 %1").arg(fileOf(application)));
    }
    if (s.status() == QSettings::FormatError) {
        throw core::Error(QStringLiteral("设置文件 %1 已损坏，无法读取").arg(fileOf(application)));
    }
}

IniStore::Stamp IniStore::stampOf(const char* application) const {
    Stamp stamp;
    struct stat now {};
    if (::stat(QFile::encodeName(fileOf(application)).constData(), &now) == 0) {
        stamp = {true,        now.st_dev,         now.st_ino,
                 now.st_size, now.st_mtim.tv_sec, now.st_mtim.tv_nsec};
    }
    return stamp;
}

void IniStore::takeInChanges(QSettings& s, const char* application) {
    // QSettings' own test of a changed file reads its times through the time-zone rules on
    // every call; one stat of our own tells the same for far less. The stamp is taken before
    // the file is read, so a write that lands in between is read again next time; it is
    // kept only once the file has proved readable, so a damaged file is reported every time.
    const Stamp stamp = stampOf(application);
    const auto seen = stamps_.find(QString::fromUtf8(application));
    if (seen != stamps_.end() && seen->second == stamp) {
        return;
    }
    checkText(application);
    s.sync();
    check(s, application);
    stamps_[QString::fromUtf8(application)] = stamp;
}

void IniStore::checkText(const char* application) const {
    // QSettings reads a file of junk as an empty store without a word, and its next write
    // would replace the learner's file with one that holds only the new key. A settings
    // file is text: UTF-8 without control characters other than tab and line breaks.
    QFile f(fileOf(application));
    if (!f.exists()) {
        return;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        throw core::Error(QStringLiteral("无法读取设置文件 %1").arg(fileOf(application)));
    }
    const QByteArray bytes = f.readAll();
    const bool control = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0x7F;
    });
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8.decode(bytes);
    if (control || utf8.hasError()) {
        throw core::Error(QStringLiteral("设置文件 %1 已损坏，无法读取").arg(fileOf(application)));
    }
}

QString IniStore::read(const Key& key) {
    QSettings& s = file(key.application);
    // Another store object or process may have written since: a changed file is read again.
    takeInChanges(s, key.application);
    const QVariant value = s.value(address(key));
    // A hand-edited value with a comma comes back as a list; it is still one text.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(','));
    }
    return value.toString();
}

void IniStore::clearBrokenLock(const char* application) const {
    // QSettings guards every write with a lock file into which the writer puts its process
    // id. A process killed between making that file and filling it leaves it empty, and the
    // next write would wait half a minute for it to go stale. A live writer fills it at once,
    // so an empty lock that is still empty a moment later is broken and goes.
    namespace fs = std::filesystem;
    const fs::path lock = (fileOf(application) + QStringLiteral(".lock")).toStdString();
    std::error_code ec;
    if (fs::file_size(lock, ec) != 0 || ec) {
        return;
    }
    const auto age = fs::file_time_type::clock::now() - fs::last_write_time(lock, ec);
    if (ec) {
        return;
    }
    if (age < kBrokenLockAge) {
        std::this_thread::sleep_for(kBrokenLockAge - age);
    }
    if (fs::file_size(lock, ec) == 0 && !ec) {
        fs::remove(lock, ec);
    }
}

void IniStore::write(const Key& key, const QString& value) {
    writeMany({{key, value}});
}

void IniStore::writeMany(std::initializer_list<std::pair<Key, QString>> values) {
    std::vector<std::string_view> applications;
    for (const auto& entry : values) {
        if (std::find(applications.begin(), applications.end(), entry.first.application) ==
            applications.end()) {
            applications.emplace_back(entry.first.application);
        }
    }
    // A damaged file is reported before anything is written over it, or over any other file
    // of the same call. One stat each, unless another process rewrote the file since it was
    // last read.
    for (const std::string_view application : applications) {
        takeInChanges(file(application.data()), application.data());
    }
    for (const std::string_view application : applications) {
        rewrite(application.data(), [&](QSettings& s) {
            for (const auto& [key, value] : values) {
                if (application == key.application) {
                    s.setValue(address(key), value);
                }
            }
        });
    }
}

void IniStore::remove(const Key& key) {
    takeInChanges(file(key.application), key.application);
    rewrite(key.application, [&](QSettings& s) { s.remove(address(key)); });
}

void IniStore::rewrite(const char* application, const std::function<void(QSettings&)>& change) {
    QSettings& s = file(application);
    clearBrokenLock(application);
    change(s);
    // The one rewrite of the file: lock, temporary file, sync to disk and rename.
    s.sync();
    check(s, application);
}

}  // namespace settings
