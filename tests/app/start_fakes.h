#pragma once

#include "net/http_fetch.h"
#include "net/module1.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <string>

namespace testing_support {

/// An echo that writes the scripted status (0: a reply arrived) and records its calls.
class ScriptedEcho final : public net::EchoProbe {
  public:
    std::int32_t status = 0;
    int calls = 0;
    std::int32_t lastAddress = 0;
    int sendEcho(std::int32_t address, std::string_view, net::IcmpEchoReply& reply, int) override {
        ++calls;
        lastAddress = address;
        reply.Status = status;
        return status == 0 ? 1 : 0;
    }
};

/// Answers every fetch with the scripted document, or fails when there is none; a test can
/// look at the screen while the fetch holds the start window's load.
class ScriptedFetch final : public net::HttpFetch {
  public:
    std::optional<QByteArray> document;
    QStringList asked;
    std::function<void()> whileFetching;
    std::optional<QByteArray> get(const QString& address) override {
        asked << address;
        if (whileFetching) {
            whileFetching();
        }
        return document;
    }
};

/// Fetches from a loopback test server whatever address the program asks for.
class LoopbackFetch final : public net::HttpFetch {
  public:
    LoopbackFetch(QString serverAddress, int timeoutMs)
        : serverAddress_(std::move(serverAddress)), fetch_(timeoutMs) {}
    QStringList asked;
    std::optional<QByteArray> get(const QString& address) override {
        asked << address;
        return fetch_.get(serverAddress_);
    }

  private:
    QString serverAddress_;
    net::CurlFetch fetch_;
};

}  // namespace testing_support
