#include "net/http_fetch.h"
#include "core/library.h"

#include <curl/curl.h>

#include <dlfcn.h>

#include <memory>

namespace net {

namespace {

struct Body {
    QByteArray bytes;
    qsizetype cap = 0;
    bool full = false;
};

// Keeps the body up to the cap; once the cap is reached the transfer stops.
std::size_t keepBody(char* data, std::size_t size, std::size_t count, void* target) {
    auto* body = static_cast<Body*>(target);
    const std::size_t bytes = size * count;
    const qsizetype room = body->cap - body->bytes.size();
    const qsizetype take = std::min<qsizetype>(room, static_cast<qsizetype>(bytes));
    body->bytes.append(data, take);
    if (take < static_cast<qsizetype>(bytes) || body->bytes.size() >= body->cap) {
        body->full = true;
        return take == static_cast<qsizetype>(bytes) ? bytes : 0;
    }
    return bytes;
}

// libcurl and the TLS, Kerberos and LDAP libraries it brings along take a good part of the
// program's start to load, and an offline start never fetches: the library is loaded at the
// first fetch.
struct Curl {
    decltype(&curl_global_init) globalInit = nullptr;
    decltype(&curl_easy_init) easyInit = nullptr;
    decltype(&curl_easy_setopt) setopt = nullptr;
    decltype(&curl_easy_perform) perform = nullptr;
    decltype(&curl_easy_getinfo) getinfo = nullptr;
    decltype(&curl_easy_strerror) strerror = nullptr;
    decltype(&curl_easy_cleanup) cleanup = nullptr;
    bool ready = false;
};

const Curl& curl() {
    static const Curl loaded = [] {
        Curl c;
        void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return c;
        }
        c.ready = core::resolveSymbol(library, "curl_global_init", c.globalInit) &&
                  core::resolveSymbol(library, "curl_easy_init", c.easyInit) &&
                  core::resolveSymbol(library, "curl_easy_setopt", c.setopt) &&
                  core::resolveSymbol(library, "curl_easy_perform", c.perform) &&
                  core::resolveSymbol(library, "curl_easy_getinfo", c.getinfo) &&
                  core::resolveSymbol(library, "curl_easy_strerror", c.strerror) &&
                  core::resolveSymbol(library, "curl_easy_cleanup", c.cleanup) &&
                  c.globalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
        return c;
    }();
    return loaded;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl().cleanup(easy); }
};

}  // namespace

CurlFetch::CurlFetch(int timeoutMs, qsizetype bodyCap) : timeoutMs_(timeoutMs), bodyCap_(bodyCap) {}

std::optional<QByteArray> CurlFetch::get(const QString& address) {
    lastError_.clear();
    const Curl& c = curl();
    if (!c.ready) {
        lastError_ = QStringLiteral("no HTTP library (libcurl.so.4)");
        return std::nullopt;
    }
    std::unique_ptr<CURL, EasyDeleter> easy(c.easyInit());
    if (!easy) {
        lastError_ = QStringLiteral("no HTTP session");
        return std::nullopt;
    }
    Body body;
    body.cap = bodyCap_;
    const QByteArray url = address.toUtf8();
    CURL* e = easy.get();
    c.setopt(e, CURLOPT_URL, url.constData());
    c.setopt(e, CURLOPT_HTTPGET, 1L);
    c.setopt(e, CURLOPT_NOSIGNAL, 1L);
    c.setopt(e, CURLOPT_NOPROXY, "*");
    c.setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    c.setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    c.setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    c.setopt(e, CURLOPT_MAXREDIRS, 3L);
    c.setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(timeoutMs_));
    c.setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeoutMs_));
    c.setopt(e, CURLOPT_WRITEFUNCTION, keepBody);
    c.setopt(e, CURLOPT_WRITEDATA, &body);

    const CURLcode result = c.perform(e);
    long status = 0;
    c.getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    // Stopping at the cap ends the transfer with a write error; the kept part is the body.
    const bool stoppedAtCap = result == CURLE_WRITE_ERROR && body.full;
    if (result != CURLE_OK && !stoppedAtCap) {
        lastError_ = QString::fromUtf8(c.strerror(result));
        return std::nullopt;
    }
    if (status < 200 || status > 299) {
        lastError_ = QStringLiteral("HTTP status %1").arg(status);
        return std::nullopt;
    }
    return body.bytes;
}

}  // namespace net
