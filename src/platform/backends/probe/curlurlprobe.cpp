#include "curlurlprobe.h"

#include <QNetworkProxyFactory>
#include <QNetworkProxyQuery>

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <string>

namespace lumora {

namespace {

constexpr char kAgent[] = "InetURL:/1.0";
constexpr long kOkStatus = 200;
constexpr long kFoundStatus = 302;

void initCurlOnce() {
    // Thread-safe by the rules of function-local statics; libcurl wants this before any handle.
    static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)init;
}

struct Exchange {
    CURL* handle = nullptr;
    bool answered = false;
    long status = 0;
};

// Ends the transfer at the blank line after the final answer's headers, so no body is read.
size_t onHeaderLine(char* data, size_t size, size_t count, void* user) {
    auto* exchange = static_cast<Exchange*>(user);
    const size_t length = size * count;
    const bool blankLine = length == 0 || data[0] == '\r' || data[0] == '\n';
    if (!blankLine)
        return length;
    long status = 0;
    curl_easy_getinfo(exchange->handle, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 100 && status < 200)
        return length; // an interim answer; the final one follows
    exchange->answered = true;
    exchange->status = status;
    return 0;
}

size_t refuseBody(char*, size_t, size_t, void*) {
    return 0;
}

} // namespace

std::string curlProxy(const QNetworkProxy& proxy) {
    const std::string hostPort =
        proxy.hostName().toStdString() + ":" + std::to_string(proxy.port());
    switch (proxy.type()) {
    case QNetworkProxy::HttpProxy:
    case QNetworkProxy::HttpCachingProxy:
        return "http://" + hostPort;
    case QNetworkProxy::Socks5Proxy:
        return "socks5h://" + hostPort; // the proxy resolves the name, as Qt's sockets let it
    default:
        return {};
    }
}

QNetworkProxy systemProxyFor(const QUrl& url) {
    const QList<QNetworkProxy> proxies =
        QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
    return proxies.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy) : proxies.first();
}

CurlUrlProbe::CurlUrlProbe(std::chrono::milliseconds timeout, ProxyChoice proxyFor)
    : m_timeout(std::max(timeout, std::chrono::milliseconds(1))), // 0 would mean no bound
      m_proxyFor(std::move(proxyFor)) {}

bool CurlUrlProbe::isUrlReachable(const QString& address) {
    const std::optional<QByteArray> target = requestAddress(address);
    if (!target)
        return false;
    const QNetworkProxy proxy =
        m_proxyFor ? m_proxyFor(QUrl::fromEncoded(*target)) : QNetworkProxy::NoProxy;
    const std::string proxyAddress = curlProxy(proxy);
    initCurlOnce();
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(),
                                                                     curl_easy_cleanup);
    if (!handle)
        return false;
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(
        headers, curl_slist_free_all);
    if (!headers)
        return false;

    Exchange exchange;
    exchange.handle = handle.get();
    const std::string url = target->toStdString();
    const std::string proxyUser = proxy.user().toStdString();
    const std::string proxyPassword = proxy.password().toStdString();
    const long timeoutMs = static_cast<long>(m_timeout.count());
    CURL* h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, kAgent);
    // The choice is made; no *_proxy or no_proxy variable may change it.
    curl_easy_setopt(h, CURLOPT_PROXY, proxyAddress.c_str());
    curl_easy_setopt(h, CURLOPT_NOPROXY, "");
    if (!proxyAddress.empty() && !proxyUser.empty()) {
        curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, proxyUser.c_str());
        curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, proxyPassword.c_str());
    }
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, timeoutMs);
    // A proxy's own "200 Connection established" must not pass for the server's answer.
    curl_easy_setopt(h, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeaderLine);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, refuseBody);
    // The transfer ends in a write error by design once the headers are in; only they count.
    curl_easy_perform(h);
    return exchange.answered && (exchange.status == kOkStatus || exchange.status == kFoundStatus);
}

} // namespace lumora
