#include "curlurlprobe.h"

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

TEST(RequestAddress, EncodesBlanksAndNonAsciiAsABrowserDoes) {
    const struct {
        const char* given;
        const char* sent;
    } cases[] = {
        {"http://127.0.0.1:8080/Mp3PageHtml/儿歌 页_23.html",
         "http://127.0.0.1:8080/Mp3PageHtml/%E5%84%BF%E6%AD%8C%20%E9%A1%B5_23.html"},
        {"site.test/a b?q=中 文", "http://site.test/a%20b?q=%E4%B8%AD%20%E6%96%87"},
        {"http://例子.测试/", "http://xn--fsqu00a.xn--0zwm56d/"},
        {"HTTP://Site.Test/a%20b%E4%B8%AD", "http://site.test/a%20b%E4%B8%AD"},
        {"http://site.test/page.html#top", "http://site.test/page.html"},
        {"https://site.test/", "https://site.test/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(requestAddress(QString::fromUtf8(c.given)).value_or("refused"), c.sent)
            << c.given;
}

TEST(CurlProxy, DirectOrTheProxyOfTheDesktop) {
    const struct {
        QNetworkProxy proxy;
        const char* curl;
    } cases[] = {
        {QNetworkProxy(QNetworkProxy::NoProxy), ""},
        {QNetworkProxy(QNetworkProxy::DefaultProxy), ""},
        {QNetworkProxy(QNetworkProxy::HttpProxy, "proxy.lan", 3128), "http://proxy.lan:3128"},
        {QNetworkProxy(QNetworkProxy::HttpCachingProxy, "10.0.0.1", 8080), "http://10.0.0.1:8080"},
        {QNetworkProxy(QNetworkProxy::Socks5Proxy, "s.lan", 1080), "socks5h://s.lan:1080"},
        {QNetworkProxy(QNetworkProxy::FtpCachingProxy, "f.lan", 21), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(curlProxy(c.proxy), c.curl) << c.curl;
}

TEST(CurlUrlProbe, RefusesAddressesThatCannotBeRequested) {
    CurlUrlProbe probe(std::chrono::milliseconds(500));
    const QString cases[] = {
        QString(),
        QStringLiteral(" "),
        QStringLiteral("http://exa mple.com/"),
        QStringLiteral("http://example.com/\r\nX-Injected: 1"),
        QStringLiteral("http://127.0.0.1/") + QString(3000, QLatin1Char('a')),
        QStringLiteral("http://[::1"),
        QStringLiteral("http://"),
        QStringLiteral("http://:0/"),
        QStringLiteral("file:///etc/hostname?http://"),
        QStringLiteral("ftp://127.0.0.1/http://x"),
        QStringLiteral("http://127.0.0.1/a\tb"),
    };
    for (const QString& address : cases)
        EXPECT_FALSE(probe.isUrlReachable(address)) << address.left(60).toStdString();
}

} // namespace
} // namespace lumora
