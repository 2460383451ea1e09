#include "settings/store.h"

#include "core/failure.h"
#include "core/numbers.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>

#include <sys/stat.h>

namespace settings {

namespace {

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

bool IniStore::changedSinceSync(const char* application) {
    // QSettings' own test of a changed file reads its times through the time-zone rules on
    // every call; one stat of our own tells the same for far less. The stamp is taken before
    // the sync, so a write that lands between the two is read again next time.
    Stamp stamp;
    struct stat now {};
    if (::stat(QFile::encodeName(fileOf(application)).constData(), &now) == 0) {
        stamp = {true,        now.st_dev,         now.st_ino,
                 now.st_size, now.st_mtim.tv_sec, now.st_mtim.tv_nsec};
    }
    const auto [seen, first] = stamps_.try_emplace(QString::fromUtf8(application), stamp);
    const bool changed = first || !(seen->second == stamp);
    seen->second = stamp;
    return changed;
}

QString IniStore::read(const Key& key) {
    QSettings& s = file(key.application);
    // Another store object or process may have written since: sync re-reads a changed file.
    if (changedSinceSync(key.application)) {
        s.sync();
    }
    check(s, key.application);
    const QVariant value = s.value(address(key));
    // A hand-edited value with a comma comes back as a list; it is still one text.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(','));
    }
    return value.toString();
}

void IniStore::write(const Key& key, const QString& value) {
    QSettings& s = file(key.application);
    s.setValue(address(key), value);
    changedSinceSync(key.application);
    s.sync();
    check(s, key.application);
}

void IniStore::remove(const Key& key) {
    QSettings& s = file(key.application);
    s.remove(address(key));
    changedSinceSync(key.application);
    s.sync();
    check(s, key.application);
}

}  // namespace settings
