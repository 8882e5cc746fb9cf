#include "pageserver.h"
#include "qtwebpane.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWidget>

#include "support/eventwait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace lumora::test {
namespace {

constexpr int kLoadTimeoutMs = 15000;

// Catches addresses the engine would hand to the desktop for external schemes.
class DesktopCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class QtWebPaneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_factory = new QtWebPaneFactory; }
    static void TearDownTestSuite() {
        delete s_factory;
        s_factory = nullptr;
    }

    void SetUp() override {
        m_window = std::make_unique<QWidget>();
        m_window->resize(400, 300);
        makePane(*s_factory);
        m_window->show();
    }
    void makePane(QtWebPaneFactory& factory) {
        m_pane.reset(static_cast<QtWebPane*>(factory.createPane(m_window.get()).release()));
        m_pane->widget()->resize(400, 300);
        m_pane->widget()->show(); // a second pane comes after its window is shown
        m_pane->onDocumentComplete = [this](bool topLevel) {
            ++m_completes;
            m_topLevel = topLevel;
            m_locationAtComplete = m_pane->locationUrl();
        };
        m_pane->setNavigationRefusedHandler([this](const QUrl& url) { m_refused.append(url); });
    }
    void TearDown() override {
        m_pane.reset();
        m_window.reset();
    }

    // Navigates and waits for the document-complete event of that navigation.
    bool load(const QString& address, int flags = 0) {
        const int before = m_completes;
        m_pane->navigate(address, flags);
        return waitUntil([&] { return m_completes > before; }, kLoadTimeoutMs);
    }

    void clickLinkTo(const QString& address);

    QVariant evaluate(const QString& script) {
        auto* view = qobject_cast<QWebEngineView*>(m_pane->widget());
        auto result = std::make_shared<std::optional<QVariant>>();
        view->page()->runJavaScript(script, [result](const QVariant& v) { *result = v; });
        waitUntil([&] { return result->has_value(); }, kLoadTimeoutMs);
        return result->value_or(QVariant(QStringLiteral("<no answer>")));
    }

    static QtWebPaneFactory* s_factory;
    PageServer m_server;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<QtWebPane> m_pane;
    int m_completes = 0;
    bool m_topLevel = false;
    QString m_locationAtComplete;
    QList<QUrl> m_refused;
};

QtWebPaneFactory* QtWebPaneTest::s_factory = nullptr;

TEST_F(QtWebPaneTest, PageCompletesOnceAtItsAddress) {
    const QString address = m_server.address("/page/hello");
    ASSERT_TRUE(load(address));
    settle(500);
    EXPECT_EQ(m_completes, 1);
    EXPECT_TRUE(m_topLevel);
    EXPECT_EQ(m_locationAtComplete, address);
    EXPECT_EQ(evaluate("document.title").toString(), "hello");
}

TEST_F(QtWebPaneTest, AddressWithoutSchemeIsCompletedWithHttp) {
    ASSERT_TRUE(load(QStringLiteral("127.0.0.1:%1/page/bare").arg(m_server.port())));
    EXPECT_EQ(m_pane->locationUrl(), m_server.address("/page/bare"));
    EXPECT_EQ(m_server.hits("/page/bare"), 1);
}

TEST_F(QtWebPaneTest, RedirectEndsAtTheTarget) {
    ASSERT_TRUE(load(m_server.address("/redirect")));
    settle(500);
    EXPECT_EQ(m_completes, 1);
    EXPECT_EQ(m_pane->locationUrl(), m_server.address("/page/target"));
    EXPECT_EQ(m_server.hits("/page/target"), 1);
}

// Failed loads complete too, but stand at the error page so that no pane shows them as the
// page asked for.
TEST_F(QtWebPaneTest, FailedLoadsCompleteAtTheErrorPage) {
    const QString missing = m_server.address("/missing");
    ASSERT_TRUE(load(missing));
    EXPECT_EQ(m_locationAtComplete, QtWebPane::kErrorPageLocation);
    EXPECT_EQ(m_server.hits("/missing"), 1);

    ASSERT_TRUE(load(QStringLiteral("http://127.0.0.1:1/nothing-listens")));
    EXPECT_EQ(m_locationAtComplete, QtWebPane::kErrorPageLocation);

    // A good page afterwards stands at its own address again.
    ASSERT_TRUE(load(m_server.address("/page/again")));
    EXPECT_EQ(m_pane->locationUrl(), m_server.address("/page/again"));
    settle(500);
    EXPECT_EQ(m_completes, 3);
}

TEST_F(QtWebPaneTest, NoCacheFlagsFetchEveryTimeAndAskCachesToRevalidate) {
    const int noCache = WebPane::NoReadFromCache | WebPane::NoWriteToCache;
    struct Case {
        const char* path;
        int flags;
        int expectedHits;
    };
    // A, elsewhere, A again: a cacheable page comes from the cache only without the flags.
    for (const Case& c : {Case{"/page/cached", 0, 1}, Case{"/page/fresh", noCache, 2}}) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(load(m_server.address(c.path), c.flags));
        ASSERT_TRUE(load(m_server.address("/page/elsewhere"), c.flags));
        ASSERT_TRUE(load(m_server.address(c.path), c.flags));
        EXPECT_EQ(m_pane->locationUrl(), m_server.address(c.path));
        EXPECT_EQ(m_server.hits(c.path), c.expectedHits);
    }
    // What was fetched without the flags is not kept for later navigations either.
    ASSERT_TRUE(load(m_server.address("/page/unkept"), noCache));
    ASSERT_TRUE(load(m_server.address("/page/elsewhere")));
    ASSERT_TRUE(load(m_server.address("/page/unkept")));
    EXPECT_EQ(m_server.hits("/page/unkept"), 2);

    EXPECT_EQ(m_server.lastHeader("/page/fresh", "Cache-Control"), "no-cache");
    EXPECT_EQ(m_server.lastHeader("/page/fresh", "Pragma"), "no-cache");
    EXPECT_EQ(m_server.lastHeader("/page/cached", "Pragma"), "");
}

TEST_F(QtWebPaneTest, BodyScrollAndBorderAreSet) {
    ASSERT_TRUE(load(m_server.address("/page/styled")));
    const QString readBack = QStringLiteral(
        "document.body.getAttribute('scroll') + '|' + document.body.style.borderStyle");
    m_pane->setBodyScrollAndBorder("auto", "none");
    EXPECT_EQ(evaluate(readBack).toString(), "auto|none");
    // Quotes in the values stay values.
    m_pane->setBodyScrollAndBorder("a'b\")c", "");
    EXPECT_EQ(evaluate(readBack).toString(), "a'b\")c|");
}

const QString kStartAnimations = QStringLiteral(
    "var frames = [{transform: 'none'}, {transform: 'translateX(20px)'}];"
    "window.endless = document.body.animate(frames, {duration: 1000, iterations: Infinity});"
    "window.once = document.body.animate(frames, {duration: 10000}); 1");

TEST_F(QtWebPaneTest, EndlessAnimationsMoveInStepsAndOthersRunAsMade) {
    ASSERT_TRUE(load(m_server.address("/page/animated")));
    evaluate(kStartAnimations);
    settle(800);
    // Held by the pane between steps, yet still moving with the clock.
    EXPECT_EQ(evaluate("endless.playState").toString(), "paused");
    EXPECT_GT(evaluate("endless.currentTime").toDouble(), 400);
    EXPECT_EQ(evaluate("once.playState").toString(), "running");
}

TEST_F(QtWebPaneTest, EndlessAnimationsRestWhileNobodyTouchesTheProgram) {
    QtWebPaneFactory quietSoon(std::chrono::milliseconds(600));
    makePane(quietSoon);
    auto position = [&] { return evaluate("endless.currentTime").toDouble(); };
    auto holds = [&] {
        const double before = position();
        settle(400);
        return position() == before;
    };
    ASSERT_TRUE(load(m_server.address("/page/animated")));
    evaluate(kStartAnimations);
    ASSERT_FALSE(holds());
    ASSERT_TRUE(waitUntil(holds, 5000));
    // A page loaded meanwhile rests as well, once its animations are looked at; endings still
    // come when the page expects them.
    ASSERT_TRUE(load(m_server.address("/page/animated")));
    evaluate(kStartAnimations);
    // A pause takes effect with the next frame: until then the time still runs.
    ASSERT_TRUE(waitUntil(
        [&] { return evaluate("endless.playState == 'paused' && !endless.pending").toBool(); },
        3000));
    EXPECT_TRUE(holds());
    EXPECT_EQ(evaluate("once.playState").toString(), "running");
    // The next touch of the program brings them back.
    QTest::mouseMove(m_pane->widget(), QPoint(20, 20));
    EXPECT_FALSE(holds());
}

TEST_F(QtWebPaneTest, PagesOpenNoWindowsAndSeeNoProgramObject) {
    ASSERT_TRUE(load(m_server.address("/page/opener")));
    EXPECT_EQ(evaluate("typeof qt").toString(), "undefined");
    const QString open =
        QStringLiteral("window.open('%1') === null").arg(m_server.address("/page/popup"));
    EXPECT_TRUE(evaluate(open).toBool());
    settle(500);
    EXPECT_EQ(m_server.hits("/page/popup"), 0);
    EXPECT_EQ(m_pane->locationUrl(), m_server.address("/page/opener"));
}

// Puts a link over the whole page and clicks it, so the navigation comes with a user gesture.
void QtWebPaneTest::clickLinkTo(const QString& address) {
    evaluate(QStringLiteral("var a = document.createElement('a'); a.href = '%1';"
                            "a.style.cssText = 'position:fixed;left:0;top:0;width:100%;"
                            "height:100%;display:block'; document.body.appendChild(a); 1")
                 .arg(address));
    auto* view = qobject_cast<QWebEngineView*>(m_pane->widget());
    QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(50, 50));
}

TEST_F(QtWebPaneTest, NonWebSchemesAreRefused) {
    const QStringList addresses{"ssh://127.0.0.1/x", "mailto:someone@example.com",
                                "ms-its:help.chm::/a.htm"};
    DesktopCatcher desktop;
    for (const QString& address : addresses)
        QDesktopServices::setUrlHandler(QUrl(address).scheme(), &desktop, "open");
    const QString page = m_server.address("/page/start");
    ASSERT_TRUE(load(page));
    // The clicks do reach the page: a link to a web page is followed.
    clickLinkTo(m_server.address("/page/clicked"));
    ASSERT_TRUE(waitUntil([&] { return m_completes == 2; }, kLoadTimeoutMs));
    EXPECT_EQ(m_pane->locationUrl(), m_server.address("/page/clicked"));

    for (const QString& address : addresses) {
        SCOPED_TRACE(address.toStdString());
        evaluate(QStringLiteral("location.href = '%1'; 1").arg(address));
        clickLinkTo(address);
        m_refused.clear();
        m_pane->navigate(address);
        ASSERT_EQ(m_refused.size(), 1);
        EXPECT_EQ(m_refused.first(), QUrl(address));
    }
    m_refused.clear();
    m_pane->navigate(QStringLiteral("javascript:document.title='run'"));
    EXPECT_EQ(m_refused.size(), 1);

    settle(1000);
    EXPECT_TRUE(desktop.opened.isEmpty()) << desktop.opened.size();
    EXPECT_EQ(m_pane->locationUrl(), m_server.address("/page/clicked"));
    EXPECT_EQ(evaluate("document.title").toString(), "clicked");
    EXPECT_EQ(m_completes, 2); // refused navigations complete nothing
    for (const QString& address : addresses)
        QDesktopServices::unsetUrlHandler(QUrl(address).scheme());
}

TEST_F(QtWebPaneTest, DownloadsAreRefused) {
    // A site page offering a program: the pane never takes it, so nothing lands on the disk.
    auto* view = qobject_cast<QWebEngineView*>(m_pane->widget());
    QList<QPointer<QWebEngineDownloadRequest>> offered;
    QObject::connect(view->page()->profile(), &QWebEngineProfile::downloadRequested, view,
                     [&](QWebEngineDownloadRequest* request) { offered.append(request); });
    const QString page = m_server.address("/page/start");
    ASSERT_TRUE(load(page));
    clickLinkTo(m_server.address("/program"));
    ASSERT_TRUE(waitUntil([&] { return !offered.isEmpty(); }, kLoadTimeoutMs));
    settle(500);
    for (const auto& request : offered) {
        if (request) {
            EXPECT_EQ(request->state(), QWebEngineDownloadRequest::DownloadCancelled);
        }
    }
    const QString folder = view->page()->profile()->downloadPath();
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/setup.sh")));
    EXPECT_EQ(m_pane->locationUrl(), page);
}

TEST_F(QtWebPaneTest, PaneOutlivesItsWidget) {
    ASSERT_TRUE(load(m_server.address("/page/short")));
    m_window.reset();
    EXPECT_EQ(m_pane->widget(), nullptr);
    m_pane->setBodyScrollAndBorder("auto", "none");
    EXPECT_EQ(m_pane->locationUrl(), m_server.address("/page/short"));
}

} // namespace
} // namespace lumora::test

#include "qtwebpane_test.moc"
