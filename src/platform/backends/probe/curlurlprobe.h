#pragma once

#include "urlprobe.h"

#include <QNetworkProxy>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <string>

namespace lumora {

// The proxy for libcurl: "" for a direct connection (which also keeps libcurl from the
// *_proxy variables), else "http://host:port" or "socks5h://host:port".
std::string curlProxy(const QNetworkProxy& proxy);

// The proxy the web panes use for url: the desktop's settings through Qt's system query.
QNetworkProxy systemProxyFor(const QUrl& url);

// Probes over HTTP with libcurl: GET without following redirects, past any cache, reading the
// status and nothing of the body.
class CurlUrlProbe : public UrlProbe {
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{10000};

    using ProxyChoice = std::function<QNetworkProxy(const QUrl&)>;

    // timeout bounds the whole probe, connection included; proxyFor picks the proxy of each
    // address.
    explicit CurlUrlProbe(std::chrono::milliseconds timeout = kDefaultTimeout,
                          ProxyChoice proxyFor = systemProxyFor);

    bool isUrlReachable(const QString& address) override;

private:
    std::chrono::milliseconds m_timeout;
    ProxyChoice m_proxyFor;
};

} // namespace lumora
