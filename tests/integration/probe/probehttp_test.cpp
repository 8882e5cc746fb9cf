#include "curlurlprobe.h"
#include "localserver.h"
#include "support/eventwait.h"
#include "support/loopbackport.h"
#include "threadedprobe.h"

#include "fakes/fakeurlprobe.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QThread>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kTestTimeout = 1000ms;

class ProbeHttp : public ::testing::Test {
protected:
    test::LocalServer server;
    CurlUrlProbe probe{kTestTimeout};
};

TEST_F(ProbeHttp, OnlyOkAndFoundCountAsReachable) {
    const struct {
        int status;
        bool reachable;
    } cases[] = {{200, true},  {302, true},  {301, false}, {304, false},
                 {404, false}, {204, false}, {500, false}, {503, false}};
    for (const auto& c : cases) {
        const QString path = QStringLiteral("/status/%1").arg(c.status);
        EXPECT_EQ(probe.isUrlReachable(server.address(path)), c.reachable) << c.status;
        EXPECT_EQ(server.hits(path.toStdString()), 1) << c.status;
    }
}

TEST_F(ProbeHttp, DoesNotFollowRedirects) {
    EXPECT_TRUE(probe.isUrlReachable(server.address("/status/302")));
    EXPECT_FALSE(probe.isUrlReachable(server.address("/status/301")));
    EXPECT_EQ(server.hits("/status/404"), 0);
}

TEST_F(ProbeHttp, AsksTheServerItselfWithTheAgentName) {
    ASSERT_TRUE(probe.isUrlReachable(server.address("/status/200")));
    EXPECT_EQ(server.lastMethod(), "GET");
    EXPECT_EQ(server.lastHeader("User-Agent"), "InetURL:/1.0");
    EXPECT_EQ(server.lastHeader("Cache-Control"), "no-cache");
    EXPECT_EQ(server.lastHeader("Pragma"), "no-cache");
}

TEST_F(ProbeHttp, AddressWithoutSchemeIsProbedOverHttp) {
    const QString bare = QStringLiteral("127.0.0.1:%1/status/200").arg(server.port());
    EXPECT_TRUE(probe.isUrlReachable(bare));
    EXPECT_TRUE(probe.isUrlReachable(QStringLiteral("HTTP://") + bare));
    EXPECT_EQ(server.hits("/status/200"), 2);
}

TEST(ProbeNoServer, SecureAddressIsProbedAsItStands) {
    // A server that never answers shows what the probe sent: a TLS handshake record, so the
    // address went out unchanged rather than behind "http://".
    for (const char* scheme : {"https://", "HTTPS://"}) {
        test::SilentPort silent;
        CurlUrlProbe probe(300ms);
        const QString address = QLatin1String(scheme) + QStringLiteral("127.0.0.1:%1/page");
        EXPECT_FALSE(probe.isUrlReachable(address.arg(silent.port())));
        const std::string sent = silent.firstBytesReceived();
        ASSERT_FALSE(sent.empty()) << scheme;
        EXPECT_EQ(sent[0], '\x16') << scheme; // handshake record
    }
}

TEST(ProbeNoServer, AddressWithoutSchemeGoesOutAsPlainGet) {
    test::SilentPort silent;
    CurlUrlProbe probe(300ms);
    EXPECT_FALSE(probe.isUrlReachable(QStringLiteral("127.0.0.1:%1/page").arg(silent.port())));
    EXPECT_EQ(silent.firstBytesReceived().rfind("GET /page HTTP/1.1\r\n", 0), 0u);
}

TEST(ProbeAddresses, ChineseAudioPageIsRequestedEncoded) {
    test::HttpServer server;
    std::string target;
    server.server().Get(".*", [&](const httplib::Request& request, httplib::Response& response) {
        target = request.target;
        response.status = request.path == "/Mp3PageHtml/儿歌 页_23.html" ? 200 : 404;
    });
    server.start();
    CurlUrlProbe probe(kTestTimeout);
    EXPECT_TRUE(probe.isUrlReachable(server.address("/Mp3PageHtml/儿歌 页_23.html")));
    EXPECT_EQ(target, "/Mp3PageHtml/%E5%84%BF%E6%AD%8C%20%E9%A1%B5_23.html");
}

TEST(ProbeProxy, TheProbeGoesWhereTheChoiceOfProxySays) {
    // A server that answers every request, recording the request line's target: through a
    // proxy that is the whole address.
    test::HttpServer server;
    std::vector<std::string> targets;
    server.server().Get(".*", [&](const httplib::Request& request, httplib::Response& response) {
        targets.push_back(request.target);
        response.status = 200;
    });
    server.start();
    const QNetworkProxy viaServer(QNetworkProxy::HttpProxy, "127.0.0.1", quint16(server.port()));
    const QString deadProxy = QStringLiteral("http://127.0.0.1:%1").arg(test::closedPort());
    const struct {
        const char* label;
        QNetworkProxy choice;
        QString address;
        const char* envProxy;
        std::string target;
    } cases[] = {
        {"desktop proxy", viaServer, "http://site.invalid/ad/StatusBar23.html", nullptr,
         "http://site.invalid/ad/StatusBar23.html"},
        {"desktop proxy over a variable", viaServer, "http://site.invalid/a", "http://127.0.0.1:9",
         "http://site.invalid/a"},
        {"direct over a variable", QNetworkProxy(QNetworkProxy::NoProxy), server.address("/direct"),
         "dead", "/direct"},
    };
    qunsetenv("no_proxy"); // the test runs set it; a family's desktop does not
    for (const auto& c : cases) {
        targets.clear();
        if (c.envProxy)
            qputenv("http_proxy", c.envProxy == std::string("dead") ? deadProxy.toUtf8()
                                                                    : QByteArray(c.envProxy));
        CurlUrlProbe probe(kTestTimeout, [&](const QUrl&) { return c.choice; });
        EXPECT_TRUE(probe.isUrlReachable(c.address)) << c.label;
        EXPECT_EQ(targets, std::vector<std::string>{c.target}) << c.label;
        qunsetenv("http_proxy");
    }
}

TEST_F(ProbeHttp, SecureAddressToAPlainServerIsUnreachable) {
    const QString secure = QStringLiteral("https://127.0.0.1:%1/status/200").arg(server.port());
    EXPECT_FALSE(probe.isUrlReachable(secure));
    EXPECT_EQ(server.hits("/status/200"), 0);
}

TEST_F(ProbeHttp, ReadsTheStatusWithoutDownloadingTheBody) {
    const auto start = Clock::now();
    EXPECT_TRUE(probe.isUrlReachable(server.address("/big")));
    EXPECT_LT(Clock::now() - start, 2s);
    // Whatever the socket buffers took before the hang-up, far from the whole body.
    EXPECT_LT(server.bigBytesSent(), test::LocalServer::kBigBodySize / 4);
}

TEST(ProbeNoServer, SilentServerIsUnreachableWithinTheBound) {
    test::SilentPort silent;
    CurlUrlProbe probe(kTestTimeout);
    const auto start = Clock::now();
    EXPECT_FALSE(probe.isUrlReachable(QStringLiteral("http://127.0.0.1:%1/").arg(silent.port())));
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, kTestTimeout - 100ms); // it did wait for an answer
    EXPECT_LT(elapsed, kTestTimeout + 2s);
}

TEST(ProbeNoServer, RefusedPortIsUnreachableAtOnce) {
    CurlUrlProbe probe(10s);
    const auto start = Clock::now();
    EXPECT_FALSE(probe.isUrlReachable(QStringLiteral("127.0.0.1:%1/").arg(test::closedPort())));
    EXPECT_LT(Clock::now() - start, 2s);
}

TEST_F(ProbeHttp, NavigateWithRetryProbesTheRealServerTwice) {
    const QString offline = QStringLiteral("/offline/mp3.htm");
    const struct {
        const char* path;
        int expectedHits;
        bool expectPage;
    } cases[] = {{"/flaky/0", 1, true}, {"/flaky/1", 2, true}, {"/flaky/2", 2, false}};
    for (const auto& c : cases) {
        const QString page = server.address(QString::fromLatin1(c.path));
        QStringList navigated;
        test::navigateInline(probe, page, offline, [&](const QString& to) { navigated << to; });
        EXPECT_EQ(server.hits(c.path), c.expectedHits) << c.path;
        EXPECT_EQ(navigated, QStringList{c.expectPage ? page : offline}) << c.path;
    }
}

TEST(ProbeNoServer, NavigateWithRetryFallsBackWhenNothingListens) {
    CurlUrlProbe probe(kTestTimeout);
    const QString page = QStringLiteral("http://127.0.0.1:%1/ads.htm").arg(test::closedPort());
    QStringList navigated;
    test::navigateInline(probe, page, QStringLiteral("offline.htm"),
                         [&](const QString& to) { navigated << to; });
    EXPECT_EQ(navigated, QStringList{QStringLiteral("offline.htm")});
}

TEST_F(ProbeHttp, ThreadedProbeAnswersLaterOnTheAskingThreadAndOnlyWhileItsAskerLives) {
    test::SilentPort silent;
    auto threaded =
        std::make_unique<ThreadedUrlProbe>(std::make_shared<CurlUrlProbe>(kTestTimeout));
    struct Asked {
        std::optional<bool> reachable;
        QThread* thread = nullptr;
    } open, silentSite, gone, orphan;
    auto ask = [&](const QString& address, QObject* context, Asked& asked) {
        threaded->askReachable(address, context, [&asked](bool reachable) {
            asked.reachable = reachable;
            asked.thread = QThread::currentThread();
        });
    };
    QObject asker;
    auto shortLived = std::make_unique<QObject>();
    const auto start = Clock::now();
    ask(server.address("/status/200"), &asker, open);
    ask(QStringLiteral("http://127.0.0.1:%1/").arg(silent.port()), &asker, silentSite);
    ask(server.address("/status/200"), shortLived.get(), gone);
    EXPECT_LT(Clock::now() - start, 200ms); // nobody waited for the silent server
    shortLived.reset();

    ASSERT_TRUE(test::waitUntil([&] { return open.reachable && silentSite.reachable; }, 5000));
    EXPECT_TRUE(*open.reachable);
    EXPECT_FALSE(*silentSite.reachable);
    EXPECT_EQ(open.thread, QThread::currentThread());
    EXPECT_EQ(silentSite.thread, QThread::currentThread());
    test::settle(200);
    EXPECT_FALSE(gone.reachable) << "an answer for an asker that is gone is dropped";

    // A question still open when the probe itself goes is dropped as well.
    ask(QStringLiteral("http://127.0.0.1:%1/").arg(silent.port()), &asker, orphan);
    threaded.reset();
    test::settle(static_cast<int>(kTestTimeout.count()) + 500);
    EXPECT_FALSE(orphan.reachable);
}

} // namespace
} // namespace lumora
