#include "net/http_fetch.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

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

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

}  // namespace

CurlFetch::CurlFetch(int timeoutMs, qsizetype bodyCap) : timeoutMs_(timeoutMs), bodyCap_(bodyCap) {
    initialiseCurlOnce();
}

std::optional<QByteArray> CurlFetch::get(const QString& address) {
    lastError_.clear();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        lastError_ = QStringLiteral("no HTTP session");
        return std::nullopt;
    }
    Body body;
    body.cap = bodyCap_;
    const QByteArray url = address.toUtf8();
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.constData());
    curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 3L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(timeoutMs_));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeoutMs_));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, keepBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &body);

    const CURLcode result = curl_easy_perform(e);
    long status = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    // Stopping at the cap ends the transfer with a write error; the kept part is the body.
    const bool stoppedAtCap = result == CURLE_WRITE_ERROR && body.full;
    if (result != CURLE_OK && !stoppedAtCap) {
        lastError_ = QString::fromUtf8(curl_easy_strerror(result));
        return std::nullopt;
    }
    if (status < 200 || status > 299) {
        lastError_ = QStringLiteral("HTTP status %1").arg(status);
        return std::nullopt;
    }
    return body.bytes;
}

}  // namespace net
