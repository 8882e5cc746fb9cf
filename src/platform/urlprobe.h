#pragma once

#include <QString>

#include <chrono>
#include <functional>

namespace lumora {

// Asks a web server whether an address answers, to choose between a site page and a local
// offline page.
class UrlProbe {
public:
    virtual ~UrlProbe() = default;
    // True when the server answers the address with status 200 or 302; false otherwise,
    // including on any failure. Blocks until the server answers or the time bound passes.
    virtual bool isUrlReachable(const QString& address) = 0;
};

// The address the probe requests: "http://" put in front unless the address already holds
// "http://" somewhere or starts with "https://" (in any case).
QString probeAddress(const QString& address);

// Probes over HTTP with libcurl: GET without following redirects, past any cache, reading the
// status and nothing of the body.
class CurlUrlProbe : public UrlProbe {
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{10000};

    // timeout bounds the whole probe, connection included.
    explicit CurlUrlProbe(std::chrono::milliseconds timeout = kDefaultTimeout);

    bool isUrlReachable(const QString& address) override;

private:
    std::chrono::milliseconds m_timeout;
};

// Navigates to address when the probe finds it reachable, trying a second time before giving
// up; otherwise navigates to fallback. A throwing probe counts as unreachable; nothing thrown
// by the probe or by navigate leaves this function.
void navigateWithRetry(UrlProbe& probe, const QString& address, const QString& fallback,
                       const std::function<void(const QString&)>& navigate);

} // namespace lumora
