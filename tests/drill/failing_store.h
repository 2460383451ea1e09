#pragma once

#include "core/failure.h"
#include "settings/store.h"

#include <QLatin1String>

namespace answer_testing {

/// A settings store that passes everything to another one, except that it fails once on the
/// next write or read of a chosen key (as a full disk or a locked file would).
class FailingStore final : public settings::Store {
  public:
    explicit FailingStore(settings::Store& inner) : inner_(inner) {}

    const settings::Key* failWriteOf = nullptr;
    const settings::Key* failReadOf = nullptr;
    int failures = 0;

    QString read(const settings::Key& key) override {
        failIf(failReadOf, key);
        return inner_.read(key);
    }
    void write(const settings::Key& key, const QString& value) override {
        failIf(failWriteOf, key);
        inner_.write(key, value);
    }
    void remove(const settings::Key& key) override { inner_.remove(key); }

  private:
    void failIf(const settings::Key*& armed, const settings::Key& key) {
        if (armed != nullptr && QLatin1String(armed->application) == key.application &&
            QLatin1String(armed->section) == key.section && QLatin1String(armed->key) == key.key) {
            armed = nullptr;
            ++failures;
            throw core::Error(QStringLiteral("settings store failed on %1").arg(key.key));
        }
    }
    settings::Store& inner_;
};

}  // namespace answer_testing
