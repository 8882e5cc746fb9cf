#include "localserver.h"
#include "support/loopbackport.h"
#include "urlprobe.h"

#include "fakes/fakeurlprobe.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <chrono>

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
        navigateWithRetry(probe, page, offline, [&](const QString& to) { navigated << to; });
        EXPECT_EQ(server.hits(c.path), c.expectedHits) << c.path;
        EXPECT_EQ(navigated, QStringList{c.expectPage ? page : offline}) << c.path;
    }
}

TEST(ProbeNoServer, NavigateWithRetryFallsBackWhenNothingListens) {
    CurlUrlProbe probe(kTestTimeout);
    const QString page = QStringLiteral("http://127.0.0.1:%1/ads.htm").arg(test::closedPort());
    QStringList navigated;
    navigateWithRetry(probe, page, QStringLiteral("offline.htm"),
                      [&](const QString& to) { navigated << to; });
    EXPECT_EQ(navigated, QStringList{QStringLiteral("offline.htm")});
}

} // namespace
} // namespace lumora
