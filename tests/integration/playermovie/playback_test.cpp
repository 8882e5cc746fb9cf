#include "moviehost.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QUrlQuery>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "support/eventwait.h"
#include "support/flvclip.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace lumora::test {
namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr double kClipSeconds = 6;
// The FlashVars the client passes for a video, after the file.
const char* const kClientVars =
    "&overstretch=true&showdigits=true&autostart=true&showplayerbar=true"
    "&callback=true&enablejs=true&streamscript=http://";
// Centre of the movie's full-screen button: the last 24 x 24 pixels of its bar.
const QPoint kFullScreenButton(640 - 12, 480 - 12);

// Keeps the page's console for the failure messages.
class LoggingPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    QStringList console;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override {
        console.append(message);
    }
};

class PlayerMovieTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!haveFfmpeg())
            return;
        s_media = new TempDir;
        writeHostPage(*s_media);
        s_clipMade = makeFlvClip(s_media->file("clip.flv"), {320, 240}, kClipSeconds);
    }
    static void TearDownTestSuite() {
        delete s_media;
        s_media = nullptr;
    }

    void SetUp() override {
        if (!s_media)
            GTEST_SKIP() << "ffmpeg is not installed";
        ASSERT_TRUE(s_clipMade) << "ffmpeg could not make the test clip";
        const char* build = std::getenv("LUMORA_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        m_server = std::make_unique<MovieServer>(build, s_media->path().toStdString());
        m_view = std::make_unique<QWebEngineView>();
        m_page = new LoggingPage(m_view.get());
        m_view->setPage(m_page);
        m_page->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
        m_page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        QObject::connect(m_page, &QWebEnginePage::fullScreenRequested,
                         [this](QWebEngineFullScreenRequest request) {
                             (request.toggleOn() ? m_fullScreenOn : m_fullScreenOff)++;
                             request.accept();
                         });
        m_view->resize(640, 480);
        m_view->show();
    }
    void TearDown() override {
        if (HasFailure() && m_page)
            std::cerr << "page console:\n" << m_page->console.join('\n').toStdString() << '\n';
        m_view.reset();
        m_server.reset();
    }

    // Loads the host page with the movie and waits until the movie answers the page.
    bool open(const QString& movie, const QString& vars) {
        QUrlQuery query;
        query.addQueryItem("movie", QString(QUrl::toPercentEncoding(movie)));
        query.addQueryItem("vars", QString(QUrl::toPercentEncoding(vars)));
        QUrl host(m_server->address("/media/host.html"));
        host.setQuery(query);
        m_view->load(host);
        return waitUntil(
            [&] {
                return js("typeof document.getElementById('player').getPlayState == 'function'")
                    .toBool();
            },
            kStartTimeoutMs);
    }
    bool openClip() {
        return open(m_server->address("/movie/flvplayer.swf"),
                    "file=" + m_server->address("/media/clip.flv") + kClientVars);
    }

    QVariant js(const QString& script) {
        QVariant result;
        bool done = false;
        m_page->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        waitUntil([&] { return done; }, 5000);
        return result;
    }
    double call(const QString& expression) {
        return js("document.getElementById('player')." + expression).toDouble();
    }
    double position() { return call("getPosition()"); }
    int playState() { return int(call("getPlayState()")); }
    bool waitForState(int state, int timeoutMs) {
        return waitUntil([&] { return playState() == state; }, timeoutMs);
    }

    void clickFullScreenButton(int clicks) {
        QWidget* input = m_view->focusProxy();
        ASSERT_NE(input, nullptr);
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(input, Qt::LeftButton, {}, kFullScreenButton);
    }

    static TempDir* s_media;
    static bool s_clipMade;
    std::unique_ptr<MovieServer> m_server;
    std::unique_ptr<QWebEngineView> m_view;
    LoggingPage* m_page = nullptr;
    int m_fullScreenOn = 0;
    int m_fullScreenOff = 0;
};

TempDir* PlayerMovieTest::s_media = nullptr;
bool PlayerMovieTest::s_clipMade = false;

TEST_F(PlayerMovieTest, PlaysAtOnceAndFollowsThePage) {
    ASSERT_TRUE(openClip());
    ASSERT_TRUE(waitUntil([&] { return call("getDuration()") > 0; }, kStartTimeoutMs))
        << "no duration from the clip's metadata";
    EXPECT_NEAR(call("getDuration()"), kClipSeconds, 0.3);
    EXPECT_EQ(playState(), 1);
    ASSERT_TRUE(waitUntil([&] { return position() > 0.3; }, kStartTimeoutMs)) << "not playing";

    // Pause holds the position; a second "playpause" goes on from there.
    js("document.getElementById('player').sendEvent('playpause', '')");
    EXPECT_EQ(playState(), 2);
    settle(200);
    const double held = position();
    settle(800);
    EXPECT_NEAR(position(), held, 0.05);
    EXPECT_EQ(playState(), 2);
    js("document.getElementById('player').sendEvent('playpause', '')");
    EXPECT_EQ(playState(), 1);
    EXPECT_TRUE(waitUntil([&] { return position() > held + 0.3; }, 5000)) << "did not resume";

    // A jump to a second, as the client sends it (a number).
    js("document.getElementById('player').sendEvent('position', 4)");
    EXPECT_TRUE(waitUntil([&] { return position() >= 3.8 && position() < 5; }, 5000))
        << "position after the jump: " << position();

    // The end of the clip: stopped; "playpause" then starts it again from the beginning.
    ASSERT_TRUE(waitForState(0, 8000)) << "not stopped at the end, position " << position();
    js("document.getElementById('player').sendEvent('playpause', '')");
    EXPECT_EQ(playState(), 1);
    EXPECT_TRUE(waitUntil([&] { return position() > 0 && position() < 2; }, 5000))
        << "position after the restart: " << position();
}

TEST_F(PlayerMovieTest, FullScreenButtonTakesTheScreenAndEscLeavesIt) {
    ASSERT_TRUE(openClip());
    ASSERT_TRUE(waitUntil([&] { return position() > 0.2; }, kStartTimeoutMs));
    // The client clicks twice in a row; the second click must not undo the first, even when
    // it arrives after the movie has gone full screen.
    clickFullScreenButton(1);
    ASSERT_TRUE(waitUntil([&] { return m_fullScreenOn > 0; }, 5000)) << "no full-screen request";
    settle(300);
    clickFullScreenButton(1);
    settle(500);
    EXPECT_EQ(m_fullScreenOff, 0);
    EXPECT_EQ(playState(), 1) << "the clicks must not pause the video";

    QTest::keyClick(m_view->focusProxy(), Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return m_fullScreenOff > 0; }, 5000)) << "Esc did not leave";
}

TEST_F(PlayerMovieTest, BlankMovieShowsAndPlaysNothing) {
    // As the client blanks the player: the file in the movie's own address, no FlashVars.
    ASSERT_TRUE(open(m_server->address("/movie/flvplayer.swf?file=0.swf"), ""));
    settle(1000);
    EXPECT_EQ(playState(), 0);
    EXPECT_EQ(call("getDuration()"), 0);
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(m_server->requestsUnder("/media/clip"), 0);
    EXPECT_EQ(m_server->requestsUnder("/movie/0.swf"), 0);
    // No player bar, so no full-screen button where it would be.
    clickFullScreenButton(1);
    settle(500);
    EXPECT_EQ(m_fullScreenOn, 0);
}

} // namespace
} // namespace lumora::test
