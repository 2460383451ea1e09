#pragma once

// Servers on the loopback interface for the tests of the update check.

#include <httplib.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QString>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace testing_support {

/// An HTTP server on 127.0.0.1 and a port of its own, serving "/dictversion.txt".
class VersionServer {
  public:
    VersionServer() {
        server_.Get("/dictversion.txt", [this](const httplib::Request&, httplib::Response& res) {
            ++requests;
            std::lock_guard lock(mutex_);
            res.status = status_;
            res.set_content(body_, "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // Stopping works only once the server runs; requests queue up until then anyway.
        while (!server_.is_running()) {
            std::this_thread::yield();
        }
    }
    ~VersionServer() {
        server_.stop();
        thread_.join();
    }

    void serve(const std::string& body, int status = 200) {
        std::lock_guard lock(mutex_);
        body_ = body;
        status_ = status;
    }
    int port() const { return port_; }
    QString address() const {
        return QStringLiteral("http://127.0.0.1:%1/dictversion.txt").arg(port_);
    }

    std::atomic<int> requests{0};

  private:
    httplib::Server server_;
    std::mutex mutex_;
    std::string body_ = "5.4";
    int status_ = 200;
    int port_ = 0;
    std::thread thread_;
};

/// A loopback port that takes connections and never answers them.
class SilentServer {
  public:
    SilentServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof(a));
        ::listen(fd_, 8);
        socklen_t size = sizeof(a);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &size);
        port_ = ntohs(a.sin_port);
    }
    ~SilentServer() { ::close(fd_); }
    QString address() const {
        return QStringLiteral("http://127.0.0.1:%1/dictversion.txt").arg(port_);
    }

  private:
    int fd_ = -1;
    int port_ = 0;
};

}  // namespace testing_support
