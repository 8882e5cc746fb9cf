#include "harness.h"

#include "captionbar.h"
#include "captions.h"
#include "catalogueprefetch.h"
#include "lxsimage.h"
#include "statusstrip.h"
#include "transportbar.h"

#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::test;

TEST(MainWindowSetUp, StepsRunInTheirOrder) {
    Harness h;
    h.probe.setReachable("http://site.test/ad/StatusBar23.html", true);
    h.probe.setReachable("http://site.test/ad/ChannelAds23.html", true);
    // What the window has done by the time the engine starts: the start counted, the
    // catalogue loaded and the first playable programme taken.
    QString countAtInit;
    int nodeAtInit = -1;
    h.engine.onInit = [&] {
        countAtInit = h.iniValue("1");
        nodeAtInit = h.config.currentNodeIndex;
    };
    TfrmMain& w = h.create();
    EXPECT_EQ(countAtInit, "5");
    EXPECT_EQ(nodeAtInit, 1);
    const EventLog expected = {
        "engine.init 777",
        "volume.read",
        "probe http://site.test/ad/StatusBar23.html",
        "probe http://site.test/ad/ChannelAds23.html",
    };
    EXPECT_EQ(h.log, expected);
    EXPECT_EQ(h.media.record->created, 1);
    EXPECT_EQ(w.audioPlayer()->name(), "FrameMP1");
    EXPECT_EQ(part<StatusStrip>(w).versionText(), "Lumora版本:2.0.0.23");
    EXPECT_EQ(h.pane("wbBottom").navigations().size(), 1);
    EXPECT_EQ(h.pane("wbAds").navigations().at(0).address, "http://site.test/ad/ChannelAds23.html");
}

TEST(MainWindowSetUp, WindowAndEditionCaptions) {
    Harness h;
    TfrmMain& w = h.create();
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(w.isMaximized());
    const CaptionBar& caption = part<CaptionBar>(w);
    EXPECT_TRUE(caption.maximised());
    EXPECT_EQ(caption.height(), 20);
    EXPECT_EQ(w.windowTitle(), "宝宝学识字");
    EXPECT_EQ(caption.title(), "宝宝学识字");
    EXPECT_EQ(caption.hint(), "");
    EXPECT_EQ(part<CataloguePanel>(w).searchText(), "搜索关键词");
    auto& pages = named<QTabWidget>(w, "PageControl1");
    EXPECT_FALSE(pages.tabBar()->isVisibleTo(&w));
    EXPECT_EQ(pages.currentWidget(), &named<QWidget>(w, "TabSheet1"));
    EXPECT_EQ(h.iniValue("1"), "5"); // the start is counted
    EXPECT_EQ(h.config.currentChannel, 23);
    EXPECT_EQ(w.catalogue().count(), 7);
}

TEST(MainWindowSetUp, PinyinEditionShowsItsHint) {
    Harness h;
    h.config.editionCode = 21;
    h.writeCatalogue(21, sampleCatalogue());
    TfrmMain& w = h.create();
    EXPECT_EQ(w.windowTitle(), "学拼音");
    EXPECT_EQ(part<CaptionBar>(w).hint(), "提示:\"练\"暂不可用");
}

TEST(MainWindowSetUp, PremiumEditionLoadsNothingAndUsesCodeZero) {
    Harness h;
    h.config.editionCode = 7;
    h.probe.setReachable("http://site.test/ad/StatusBar0.html", true);
    TfrmMain& w = h.create();
    EXPECT_EQ(h.config.editionCode, 0);
    EXPECT_EQ(w.windowTitle(), "精品版");
    EXPECT_EQ(part<CaptionBar>(w).title(), "Lumora精品版");
    EXPECT_EQ(w.catalogue().count(), 0);
    EXPECT_EQ(h.config.urlStatusBarAd, "http://site.test/ad/StatusBar0.html");
    w.startSession();
    EXPECT_TRUE(h.played.empty());
}

TEST(MainWindowSetUp, MissingSourceMarkerMeansPremiumCaptionsAndNoAddresses) {
    Harness h;
    QFile::remove(h.root.file("Config/Source.ini"));
    TfrmMain& w = h.create();
    EXPECT_EQ(w.windowTitle(), "精品版");
    EXPECT_EQ(w.catalogue().count(), 0);
    EXPECT_TRUE(h.pane("wbBottom").navigations().isEmpty());
}

TEST(MainWindowSetUp, RememberedProgrammeIsOpenedAtSessionStart) {
    struct Case {
        QByteArray remembered;
        int expectedIndex;
        bool plays;
    };
    const Case cases[] = {
        {"23=4", 4, true},    // "a 的儿歌"
        {"23=0", 1, true},    // none remembered: the first playable one
        {"", 1, true},        // absent key reads as 0
        {"23=x", 0, false},   // unreadable: index 0, a folder, plays nothing
        {"23=99", 99, false}, // beyond the tree: nothing is opened
    };
    for (const Case& c : cases) {
        Harness h;
        h.writeLocalIni("[Info]\n1=0\n" + c.remembered + "\n");
        TfrmMain& w = h.create();
        EXPECT_EQ(h.config.currentNodeIndex, c.expectedIndex) << c.remembered.constData();
        w.FormShow();
        EXPECT_EQ(h.played.size(), c.plays ? 1u : 0u) << c.remembered.constData();
        if (c.plays) {
            EXPECT_EQ(h.played[0], w.catalogue().record(c.expectedIndex));
        }
    }
}

TEST(MainWindowSetUp, SessionStartsOnceWithTheLogin) {
    Harness h;
    TfrmMain& w = h.create();
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "login 777 http://site.test"), 0);
    w.FormShow();
    w.FormShow();
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "login 777 http://site.test"), 1);
}

TEST(MainWindowSetUp, HiddenStartBeginsTheSessionAtCreation) {
    Harness h;
    h.config.hideOnStart = true;
    TfrmMain& w = h.create();
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "login 777 http://site.test"), 1);
    w.FormShow(); // skipped while hideOnStart is set
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "login 777 http://site.test"), 1);
}

TEST(MainWindowSetUp, BrokenCatalogueStopsTheSetUpInTheErrorBox) {
    Harness h;
    h.writeCatalogue(23, "<list><item type='1' id='1' pid='' name='x'>");
    TfrmMain& w = h.create();
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].kind, "error");
    EXPECT_TRUE(h.dialogs.shown[0].text.endsWith("(line 1)"))
        << h.dialogs.shown[0].text.toStdString();
    EXPECT_EQ(w.catalogue().count(), 0);
    EXPECT_TRUE(h.engine.initCalls.empty()); // the steps after the catalogue did not run
}

namespace {

// One line per node: level and caption.
QStringList outline(const CatalogueTree& tree) {
    QStringList lines;
    for (int i = 0; i < tree.count(); ++i)
        lines << QString::number(tree.level(i)) + tree.caption(i);
    return lines;
}

} // namespace

// A catalogue read ahead at start-up changes nothing the window shows: its own file is taken
// from the read, another file is read as without it.
TEST(MainWindowSetUp, CatalogueReadAheadShowsWhatTheWindowReadsItself) {
    struct Case {
        const char* xml;
        int prefetchedChannel;
    };
    for (const Case& c : {Case{nullptr, 23}, Case{nullptr, 21},
                          Case{"<list><item type='1' id='1' pid='' name='x'>", 23}}) {
        SCOPED_TRACE(std::to_string(c.prefetchedChannel) + (c.xml ? " broken" : ""));
        Harness plain;
        Harness ahead;
        for (Harness* h : {&plain, &ahead})
            if (c.xml)
                h->writeCatalogue(23, c.xml);
        const QString path = catalogueFilePath(ahead.root.file("Client"), c.prefetchedChannel);
        CataloguePrefetch prefetch(path);
        ahead.catalogue = &prefetch;
        const TfrmMain& expected = plain.create();
        const TfrmMain& w = ahead.create();
        EXPECT_FALSE(prefetch.take(path)); // taken or stopped by the window
        EXPECT_EQ(outline(w.catalogue()), outline(expected.catalogue()));
        EXPECT_EQ(w.selectedNode(), expected.selectedNode());
        EXPECT_EQ(ahead.config.currentNodeIndex, plain.config.currentNodeIndex);
        ASSERT_EQ(ahead.dialogs.shown.size(), plain.dialogs.shown.size());
        for (std::size_t i = 0; i < plain.dialogs.shown.size(); ++i)
            EXPECT_EQ(ahead.dialogs.shown[i].text, plain.dialogs.shown[i].text);
    }
}

TEST(MainWindowSetUp, PlayModeDisplayIgnoresBadModes) {
    for (const char* mode : {"2", "7", "x", "-1", ""}) {
        Harness h;
        h.writeLocalIni(QByteArray("[Info]\n11=") + mode + "\n");
        TfrmMain& w = h.create();
        EXPECT_EQ(w.transportBar().playMode(), QByteArray(mode) == "2" ? 2 : -1) << mode;
        EXPECT_EQ(h.engine.initCalls.size(), 1u) << mode; // set-up went on
    }
}

TEST(MainWindowSetUp, EditionCodeGoesBeforeEveryHtml) {
    Harness h;
    h.root.write("Client/Config/platform.ini",
                 "[Info]\n14=http://s/ad/StatusBar.HTML?next=a.html\n15=http://s/ChannelAds.htm\n");
    h.create();
    EXPECT_EQ(h.config.urlStatusBarAd, "http://s/ad/StatusBar23.html?next=a23.html");
    EXPECT_EQ(h.config.urlChannelAds, "http://s/ChannelAds.htm");
}

TEST(MainWindowSetUp, FirstPlayFailureReachesTheErrorBoxAndTheWindowGoesOn) {
    const QByteArray goodAnswer = "http://127.0.0.1:9/P2P/5.swf";
    const struct {
        bool hidden;
        QByteArray firstId; // of the first playable programme
        QByteArray answer;
        QString box;
    } cases[] = {
        {true, "x11", goodAnswer, "'x11' is not a valid integer value"},
        {true, "11", "http://127.0.0.1:9/P2P/.swf", "'' is not a valid integer value"},
        {false, "x11", goodAnswer, "'x11' is not a valid integer value"},
        {false, "11", "http://127.0.0.1:9/P2P/five.swf", "'five' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        const std::string label = (c.hidden ? "hidden " : "shown ") + c.firstId.toStdString();
        Harness h;
        h.config.hideOnStart = c.hidden;
        h.writeCatalogue(23, sampleCatalogue().replace("id=\"11\"", "id=\"" + c.firstId + "\""));
        h.engine.programAnswer = QString::fromLatin1(c.answer);
        TfrmMain& w = h.create();
        w.FormShow();
        ASSERT_EQ(h.dialogs.shown.size(), 1u) << label;
        EXPECT_EQ(h.dialogs.shown[0].kind, "error") << label;
        EXPECT_EQ(h.dialogs.shown[0].text, c.box) << label;
        EXPECT_EQ(w.curPlay(), w.catalogue().record(1)) << label; // the one that failed
        h.engine.programAnswer = QString::fromLatin1(goodAnswer);
        ASSERT_TRUE(w.selectNode(2)) << label;
        w.tv1Click();
        ASSERT_FALSE(h.played.empty()) << label;
        EXPECT_EQ(h.played.back(), w.catalogue().record(2)) << label; // the window goes on
        EXPECT_EQ(h.dialogs.shown.size(), 1u) << label;
    }
}
