#include "core/failure.h"

#include <exception>

namespace core {

Error::Error(const QString& message) : std::runtime_error(message.toStdString()) {}

bool runGuarded(FailurePath& failure, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        failure.fail(QString::fromUtf8(e.what()));
    } catch (...) {
        failure.fail(QStringLiteral("unknown error"));
    }
    return false;
}

}  // namespace core
