// No network at all: every probe gives up within its bound, and the window's set-up with it.
#include "curlurlprobe.h"
#include "deadservers.h"
#include "statusstrip.h"
#include "threadedprobe.h"

#include "fakes/fakeurlprobe.h"
#include "support/eventwait.h"
#include "widget/mainwindow/harness.h"

#include <QFrame>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

namespace lumora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kBound = 2000ms;
constexpr auto kSlack = 1000ms;

// The real probe, counted.
class CountingProbe : public UrlProbe {
public:
    bool isUrlReachable(const QString& address) override {
        ++calls;
        return m_probe.isUrlReachable(address);
    }
    int calls = 0;

private:
    CurlUrlProbe m_probe{kBound};
};

QString local(int port, const char* path = "/") {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(QLatin1String(path));
}

template <typename F> Clock::duration timed(F&& f) {
    const auto start = Clock::now();
    f();
    return Clock::now() - start;
}

TEST(NoNetwork, EveryDeadEndAnswersUnreachableWithinTheBound) {
    test::BlackholePort blackhole;
    test::MuteServer mute;
    const struct {
        const char* what;
        QString address;
    } cases[] = {
        {"closed port", local(test::closedPort())},
        {"full accept queue", local(blackhole.port())},
        {"accepts, never answers", local(mute.port())},
        {"unroutable address", QStringLiteral("http://10.255.255.1/")},
        {"name that does not resolve", QStringLiteral("http://lumora-site.invalid/")},
    };
    CurlUrlProbe probe(kBound);
    for (const auto& c : cases) {
        bool reachable = true;
        const auto took = timed([&] { reachable = probe.isUrlReachable(c.address); });
        EXPECT_FALSE(reachable) << c.what;
        EXPECT_LT(took, kBound + kSlack) << c.what;
        std::printf("probe %-26s %5lld ms\n", c.what,
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    }
    EXPECT_EQ(mute.accepted(), 1);
}

TEST(NoNetwork, NavigateShowsTheFallbackAfterTwoProbes) {
    test::MuteServer mute;
    const QString addresses[] = {local(test::closedPort()), local(mute.port(), "/page.html")};
    for (const QString& address : addresses) {
        CountingProbe probe;
        QStringList shown;
        const auto took = timed([&] {
            test::navigateInline(probe, address, "offline.htm",
                                 [&](const QString& target) { shown << target; });
        });
        EXPECT_EQ(probe.calls, 2) << address.toStdString();
        EXPECT_EQ(shown, QStringList{"offline.htm"}) << address.toStdString();
        EXPECT_LT(took, 2 * kBound + kSlack) << address.toStdString();
    }
    EXPECT_EQ(mute.accepted(), 2);
}

TEST(NoNetwork, WindowSetUpDoesNotWaitForAMuteSiteAndItsPanesStayHidden) {
    test::MuteServer mute;
    ThreadedUrlProbe probe(std::make_shared<CurlUrlProbe>(kBound));
    test::Harness rig(probe);
    rig.writeCatalogue(23, R"(<list><item type="0" id="1" pid="" name="声母"/>
<item type="1" id="11" pid="1" name="b"/></list>)");
    const QString site = local(mute.port());
    rig.writePlatformIni(("[Info]\n1=" + site + "\n14=" + site + "ad/StatusBar.html\n15=" + site +
                          "ad/ChannelAds.html\n")
                             .toUtf8());
    TfrmMain* window = nullptr;
    const auto took = timed([&] { window = &rig.create(); });
    std::printf("window set-up with a mute site: %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    EXPECT_LT(took, kBound / 2); // the probes run while the window is already up
    ASSERT_TRUE(test::waitUntil([&] { return mute.accepted() == 2; }));
    test::settle(static_cast<int>((kBound + kSlack).count())); // both answer "no"
    EXPECT_FALSE(test::part<CataloguePanel>(*window).adsShown());
    EXPECT_FALSE(test::part<StatusStrip>(*window).adsShown());
    EXPECT_TRUE(rig.webPanes.panes().size() >= 2);
    for (const test::FakeWebPane* pane : rig.webPanes.panes())
        EXPECT_TRUE(pane->navigations().isEmpty());
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

} // namespace
} // namespace lumora
