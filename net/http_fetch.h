#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace net {

/// A synchronous HTTP GET of a small text document (the published version number).
class HttpFetch {
  public:
    virtual ~HttpFetch() = default;
    /// The document's body when the server answered with a success status; nothing when the
    /// fetch failed in any way (no connection, a name that does not resolve, the time-out, an
    /// error status). The body may be cut short at the fetch's size cap.
    virtual std::optional<QByteArray> get(const QString& address) = 0;
};

/// The fetch over libcurl. No proxy is ever asked, only http and https are spoken, and at
/// most `bodyCap` bytes of the body are kept: the document is untrusted and should be short.
class CurlFetch final : public HttpFetch {
  public:
    static constexpr int kDefaultTimeoutMs = 60000;
    static constexpr qsizetype kDefaultBodyCap = 4096;

    explicit CurlFetch(int timeoutMs = kDefaultTimeoutMs, qsizetype bodyCap = kDefaultBodyCap);

    std::optional<QByteArray> get(const QString& address) override;

    /// Why the last fetch failed (empty after a success).
    const QString& lastError() const { return lastError_; }

  private:
    int timeoutMs_;
    qsizetype bodyCap_;
    QString lastError_;
};

}  // namespace net
