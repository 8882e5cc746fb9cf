#include "urlprobe.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ProbeAddress, PutsHttpInFrontOnlyWhenNoSchemeIsThere) {
    const struct {
        const char* given;
        const char* probed;
    } cases[] = {
        {"example.com", "http://example.com"},
        {"127.0.0.1:8080/ads/1.htm", "http://127.0.0.1:8080/ads/1.htm"},
        {"http://example.com/a", "http://example.com/a"},
        {"HTTP://Example.com/A", "HTTP://Example.com/A"},
        {"https://example.com/a", "https://example.com/a"},
        {"HtTpS://example.com/a", "HtTpS://example.com/a"},
        {"go.example.com/?to=http://b", "go.example.com/?to=http://b"}, // holds it somewhere
        {"example.com/https://b", "http://example.com/https://b"},
        {" https://example.com", "http:// https://example.com"},
        {"httpsx://example.com", "http://httpsx://example.com"},
        {"", "http://"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(probeAddress(QString::fromUtf8(c.given)), QString::fromUtf8(c.probed)) << c.given;
}

TEST(CurlUrlProbe, RefusesAddressesThatCannotBeRequested) {
    CurlUrlProbe probe(std::chrono::milliseconds(500));
    const QString cases[] = {
        QString(),
        QStringLiteral(" "),
        QStringLiteral("http://exa mple.com/"),
        QStringLiteral("http://example.com/\r\nX-Injected: 1"),
        QStringLiteral("http://例子.测试/"),
        QStringLiteral("http://127.0.0.1/") + QString(3000, QLatin1Char('a')),
        QStringLiteral("http://[::1"),
        QStringLiteral("http://"),
        QStringLiteral("http://:0/"),
        QStringLiteral("file:///etc/hostname?http://"),
        QStringLiteral("ftp://127.0.0.1/http://x"),
    };
    for (const QString& address : cases)
        EXPECT_FALSE(probe.isUrlReachable(address)) << address.left(60).toStdString();
}

} // namespace
} // namespace lumora
