#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

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

// What goes on the request line for address, encoded as a browser does: blanks and non-ASCII
// characters percent-encoded as UTF-8, a non-ASCII host in its ASCII form. Nothing for
// addresses no request can be made of (no host, a scheme other than http and https, control
// characters, longer than browsers accept).
std::optional<QByteArray> requestAddress(const QString& address);

} // namespace lumora
