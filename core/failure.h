#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

namespace core {

/// A failure that no handler recovers from. Library code throws it; the window handler
/// that started the work hands its text to the failure path.
class Error : public std::runtime_error {
  public:
    explicit Error(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

/// The one way the program ends on an unrecoverable failure: the error text in a message box
/// with one OK button, then the end of the program with a non-zero exit status.
/// Tests replace it with a recorder; after a recorder returns, the failed handler just stops.
class FailurePath {
  public:
    virtual ~FailurePath() = default;
    virtual void fail(const QString& message) = 0;
};

/// Runs one window handler; any error it throws goes to the failure path and ends the handler.
/// Returns false when the handler failed.
bool runGuarded(FailurePath& failure, const std::function<void()>& handler);

}  // namespace core
