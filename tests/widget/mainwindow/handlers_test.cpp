#include "harness.h"

#include "appeventfilter.h"
#include "captionbar.h"
#include "siteaddress.h"
#include "statusstrip.h"
#include "transportbar.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::test;

namespace {

QMouseEvent mouse(QEvent::Type type, Qt::MouseButton button) {
    return QMouseEvent(type, QPointF(2, 2), QPointF(2, 2), button, button, Qt::NoModifier);
}

QKeyEvent key(int code, Qt::KeyboardModifiers modifiers) {
    return QKeyEvent(QEvent::KeyPress, code, modifiers);
}

} // namespace

TEST(MainWindowFilter, SwallowsRightClicksInsideThePanesOnly) {
    Harness h;
    TfrmMain& w = h.create();
    const ApplicationEvents1& filter = w.applicationEvents();
    QWidget* inner = new QWidget(h.pane("wbMp3").widget()); // as the browser's own child window
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        auto right = mouse(type, Qt::RightButton);
        auto left = mouse(type, Qt::LeftButton);
        for (const char* name : {"wbMp3", "wbBottom", "wbAds"})
            EXPECT_TRUE(filter.swallows(h.pane(name).widget(), &right)) << name;
        EXPECT_TRUE(filter.swallows(inner, &right));
        EXPECT_FALSE(filter.swallows(inner, &left));
        EXPECT_FALSE(filter.swallows(catalogueWidget<QTreeView>(w, "tv1"), &right));
    }
}

TEST(MainWindowFilter, SwallowsCtrlAFNEverywhere) {
    Harness h;
    TfrmMain& w = h.create();
    QLineEdit* edtkey = catalogueWidget<QLineEdit>(w, "edtkey");
    for (int code : {Qt::Key_A, Qt::Key_F, Qt::Key_N}) {
        auto ctrl = key(code, Qt::ControlModifier);
        auto plain = key(code, Qt::NoModifier);
        EXPECT_TRUE(w.applicationEvents().swallows(edtkey, &ctrl));
        EXPECT_TRUE(w.applicationEvents().swallows(&w, &ctrl));
        EXPECT_FALSE(w.applicationEvents().swallows(edtkey, &plain));
    }
    auto ctrlB = key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_FALSE(w.applicationEvents().swallows(edtkey, &ctrlB));

    // Installed on the application: Ctrl+A in the search box selects nothing.
    edtkey->setText("abc");
    edtkey->deselect();
    auto ctrlA = key(Qt::Key_A, Qt::ControlModifier);
    QApplication::sendEvent(edtkey, &ctrlA);
    EXPECT_FALSE(edtkey->hasSelectedText());
}

TEST(MainWindowClose, AsksWhenCloseActionIsOne) {
    Harness h;
    TfrmMain& w = h.create();
    h.dialogs.confirmAnswer = false;
    clickOn(part<CaptionBar>(w), "limgClose");
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].kind, "confirm");
    EXPECT_EQ(h.dialogs.shown[0].text, "您确定退出吗?");
    EXPECT_EQ(h.dialogs.shown[0].caption, "提示");
    EXPECT_EQ(h.terminated, 0);
    h.dialogs.confirmAnswer = true;
    w.limgCloseClick();
    EXPECT_EQ(h.terminated, 1);
}

TEST(MainWindowClose, OtherCloseActionsMinimiseWithoutAsking) {
    for (const char* action : {"0", "", "2"}) {
        Harness h;
        h.writeLocalIni(QByteArray("[Info]\n8=") + action + "\n");
        TfrmMain& w = h.create();
        w.limgCloseClick();
        EXPECT_TRUE(h.dialogs.shown.empty()) << action;
        EXPECT_TRUE(w.windowState() & Qt::WindowMinimized) << action;
        EXPECT_EQ(h.terminated, 0);
    }
}

TEST(MainWindowEnd, ReleasesTheAudioPlayerThenTheEngineOnce) {
    Harness h;
    h.create();
    EXPECT_EQ(h.media.liveCount(), 1);
    h.window.reset();
    EXPECT_EQ(h.media.liveCount(), 0);
    EXPECT_EQ(h.engine.uninitCalls, 1);
    EXPECT_EQ(h.log.back(), "engine.uninit");
}

TEST(MainWindowEngine, OnlyCompleteReportsOfThePlayedProgrammeFillTheLoadBar) {
    Harness h;
    TfrmMain& w = h.create();
    w.transportBar().setLoadPercent(2); // 11.5 pixels: 12
    auto record = std::make_shared<TLumoraPlay>();
    record->engineNo = 7;
    w.engineProgress(7, 100); // nothing played yet
    EXPECT_EQ(w.transportBar().loadWidth(), 12);
    w.setCurPlay(record);
    for (auto [id, percent] : {std::pair{7, 99}, {8, 100}, {-1, 100}})
        w.engineProgress(id, percent);
    EXPECT_EQ(w.transportBar().loadWidth(), 12);
    w.engineProgress(7, 100);
    EXPECT_EQ(w.transportBar().loadWidth(), TransportBar::kLoadBar.width - 2);
}

TEST(MainWindowPanes, UnreachablePagesStayHiddenAndUnvisited) {
    Harness h;
    TfrmMain& w = h.create();
    EXPECT_FALSE(part<StatusStrip>(w).adsShown());
    EXPECT_FALSE(part<CataloguePanel>(w).adsShown());
    EXPECT_TRUE(h.pane("wbBottom").navigations().isEmpty());
    EXPECT_TRUE(h.pane("wbAds").navigations().isEmpty());
}

TEST(MainWindowPanes, PaneShowsOnlyWhenItEndsAtItsOwnAddress) {
    Harness h;
    h.probe.setReachable("http://site.test/ad/ChannelAds23.html", true);
    TfrmMain& w = h.create();
    FakeWebPane& ads = h.pane("wbAds");
    ads.setLocation("HTTP://SITE.TEST/ad/channelads23.html");
    ads.complete(false); // a frame: ignored
    EXPECT_TRUE(ads.bodyStyles().isEmpty());
    ads.complete(true);
    EXPECT_TRUE(part<CataloguePanel>(w).adsShown());
    EXPECT_EQ(ads.bodyStyles().last().borderStyle, "none");
    EXPECT_EQ(ads.bodyStyles().last().scroll, "auto");
    ads.setLocation("http://site.test/404.html"); // redirected or an error page
    ads.complete(true);
    EXPECT_FALSE(part<CataloguePanel>(w).adsShown());
}

TEST(MainWindowPanes, BannerShowsWhileItsPageIsAtItsOwnAddress) {
    Harness h;
    h.probe.setReachable("http://site.test/ad/StatusBar23.html", true);
    TfrmMain& w = h.create();
    const StatusStrip& strip = part<StatusStrip>(w);
    EXPECT_TRUE(strip.adsShown()); // the site answered yes
    FakeWebPane& banner = h.pane("wbBottom");
    banner.setLocation("http://site.test/404.html");
    banner.complete(false); // a frame: ignored
    EXPECT_TRUE(strip.adsShown());
    banner.complete(true);
    EXPECT_FALSE(strip.adsShown());
    banner.setLocation("http://site.test/ad/StatusBar23.html");
    banner.complete(true);
    EXPECT_TRUE(strip.adsShown());
}

TEST(MainWindowPanes, LocationAndAddressCompareNormalised) {
    const struct {
        const char* location; // as the web engine reports it
        const char* address;  // as configured
        bool same;
    } cases[] = {
        {"http://site.test/ad/a.html", "http://site.test:80/ad/a.html", true},
        {"https://site.test/a", "HTTPS://Site.Test:443/a", true},
        {"http://site.test/", "http://site.test", true},
        {"http://site.test/", "site.test", true},
        {"http://site.test/%E5%B9%BF%E5%91%8A%20a.html", "http://site.test/广告 a.html", true},
        {"http://site.test/%e5%b9%bf%e5%91%8a.html", "http://site.test/%E5%B9%BF%E5%91%8A.html",
         true},
        {"http://xn--fsqu00a.xn--0zwm56d/", "http://例子.测试/", true},
        {"http://site.test:8080/a", "http://site.test/a", false},
        {"https://site.test/a", "http://site.test/a", false},
        {"http://site.test/404.html", "http://site.test/a.html", false},
        {"http://site.test/a.html?x=1", "http://site.test/a.html", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isAtAddress(QString::fromUtf8(c.location), QString::fromUtf8(c.address)), c.same)
            << c.location << " / " << c.address;
    Harness h;
    h.writePlatformIni("[Info]\n15=HTTP://Site.Test:80/ad/Ads.html\n");
    h.probe.setReachable("HTTP://Site.Test:80/ad/Ads23.html", true);
    TfrmMain& w = h.create();
    h.pane("wbAds").setLocation("http://site.test/ad/Ads23.html");
    h.pane("wbAds").complete(true);
    EXPECT_TRUE(part<CataloguePanel>(w).adsShown());
}

TEST(MainWindowPanes, AudioPaneLosesItsBorderForEveryDocument) {
    Harness h;
    h.create();
    FakeWebPane& mp3 = h.pane("wbMp3");
    mp3.complete(false);
    mp3.complete(true);
    EXPECT_EQ(mp3.bodyStyles().size(), 2);
}

TEST(MainWindowLinks, LogoAndRecommendationOpenTheSite) {
    Harness h;
    TfrmMain& w = h.create();
    clickOn(part<CaptionBar>(w), "imgLogo");
    clickOn(part<StatusStrip>(w), "lblWeb");
    EXPECT_EQ(h.shell.opened, (QStringList{kSiteHost, kSiteHost}));
}

TEST(MainWindowLinks, OnlineServiceOpensOnlyWhenConfigured) {
    Harness h;
    TfrmMain& w = h.create();
    w.sbtnQQOnlineClick();
    EXPECT_TRUE(h.shell.opened.isEmpty());
    h.config.urlOnlineService = "http://qq.test/chat";
    clickOn(part<StatusStrip>(w), "sbtnQQOnline");
    EXPECT_EQ(h.shell.opened, QStringList{"http://qq.test/chat"});
}

TEST(MainWindowLinks, MoreResourcesWithoutTheFullProduct) {
    Harness h;
    TfrmMain& w = h.create();
    clickOn(part<StatusStrip>(w), "SpeedButton1");
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].kind, "info");
    EXPECT_EQ(h.dialogs.shown[0].text, "更多资源请到Lumora网(" + kSiteHost + ")下载安装!");
    EXPECT_EQ(h.shell.opened, QStringList{kSiteHost});
}

TEST(MainWindowLinks, MoreResourcesStartsOrShowsTheFullProduct) {
    Harness h;
    h.root.write("lumora.exe", "");
    TfrmMain& w = h.create();
    EXPECT_EQ(fullProductPath(h.config.appDir), h.root.file("lumora.exe"));
    w.sbtnMoreClick();
    EXPECT_EQ(h.shell.started, QStringList{h.root.file("lumora.exe")});
    h.windows.windows = {{42, "TfrmMain", "Lumora", "lumora.exe"}};
    w.sbtnMoreClick();
    EXPECT_EQ(h.windows.restored, std::vector<NativeWindow>{42});
    EXPECT_EQ(h.shell.started.size(), 1);
    EXPECT_TRUE(h.dialogs.shown.empty());
}
