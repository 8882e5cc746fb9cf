#include "controlfixture.h"
#include "support/httpserver.h"
#include "support/tempdir.h"
#include "swfpatch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace lumora::test {
namespace {

constexpr int kFrames = 120;
constexpr int kRate = 12;
constexpr int kLoadTimeoutMs = 20000;
constexpr int kSilentSeconds = 5;

// Whether Ruffle ticks and draws, as opposed to the movie's own timeline.
const QString kEmulatorRuns =
    QStringLiteral("document.querySelector('#stage > *').ruffle().isPlaying");

// Counts the page's animation frames in window.testFrames.
const QString kCountAnimationFrames =
    QStringLiteral("window.testFrames = 0; (function count() { ++window.testFrames; "
                   "requestAnimationFrame(count); })(); 0");

QVariant evaluate(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    waitUntil([&] { return done; }, 5000);
    return result;
}

// How much a counter of the page grows in ms.
int growthIn(QWebEnginePage* page, const QString& counter, int ms) {
    const int before = evaluate(page, counter).toInt();
    settle(ms);
    return evaluate(page, counter).toInt() - before;
}

class RuffleFlashControlTest : public FlashControlFixture {
protected:
    static void SetUpTestSuite() {
        s_movies = new TempDir;
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
            return;
        const auto make = [](const QString& name, const QStringList& sources) {
            QProcess ffmpeg;
            ffmpeg.start("ffmpeg",
                         QStringList{"-v", "error", "-y"} + sources +
                             QStringList{"-c:v", "flv1", "-f", "swf", s_movies->file(name)});
            return ffmpeg.waitForFinished(30000) && ffmpeg.exitCode() == 0;
        };
        const QString video = QStringLiteral("testsrc=size=160x120:rate=%1:duration=%2");
        // The second is silent for its first kSilentSeconds, then plays a tone.
        const QString tone =
            QStringLiteral("aevalsrc=if(gt(t\\,%1)\\,0.5*sin(2*PI*440*t)\\,0):s=22050");
        if (make("movie.swf", {"-f", "lavfi", "-i", video.arg(kRate).arg(kFrames / kRate)}) &&
            make("sound.swf", {"-f", "lavfi", "-i", video.arg(kRate).arg(10), "-f", "lavfi", "-i",
                               tone.arg(kSilentSeconds), "-shortest"}))
            s_swf = s_movies->read("movie.swf");
    }
    static void TearDownTestSuite() {
        delete s_movies;
        s_movies = nullptr;
    }

    void SetUp() override {
        if (s_swf.isEmpty())
            GTEST_SKIP() << "ffmpeg cannot make a test movie here";
        FlashControlFixture::SetUp();
    }

    bool loadTestMovie() {
        playMovie(s_movies->file("movie.swf"));
        return waitLoaded();
    }

    static TempDir* s_movies;
    static QByteArray s_swf;
};

TempDir* RuffleFlashControlTest::s_movies = nullptr;
QByteArray RuffleFlashControlTest::s_swf;

TEST_F(RuffleFlashControlTest, LoadsAMovieAndAdvancesItsFramesInTime) {
    EXPECT_EQ(m_control->readyState(), FlashReadyState::Uninitialised);
    ASSERT_TRUE(loadTestMovie());
    EXPECT_EQ(m_control->totalFrames(), kFrames);
    EXPECT_TRUE(m_control->isPlaying());
    ASSERT_TRUE(waitUntil([&] { return m_control->framesExact(); }, 5000))
        << "the instrumented movie should answer the frame callbacks";

    const int first = m_control->currentFrame();
    QElapsedTimer clock;
    clock.start();
    settle(2000);
    const int expected = int(clock.elapsed() * kRate / 1000);
    const int advanced = m_control->currentFrame() - first;
    EXPECT_NEAR(advanced, expected, 6) << "from frame " << first;
}

// The emulator ticks around its 12 frames a second, not at the screen's rate, unless input or
// a drawing between its frames (a script animating) calls for every tick.
TEST_F(RuffleFlashControlTest, TicksAroundTheFramesUnlessSomethingElseDraws) {
    ASSERT_TRUE(loadTestMovie());
    ASSERT_TRUE(waitUntil([&] { return m_control->framesExact(); }, 5000));
    QWebEnginePage* page = m_control->page();
    const auto ticksPerSecond = [&](int ms) {
        const int before = evaluate(page, "lumoraFrames.delivered()").toInt();
        QElapsedTimer clock;
        clock.start();
        settle(ms);
        const int ticks = evaluate(page, "lumoraFrames.delivered()").toInt() - before;
        return ticks * 1000.0 / double(clock.elapsed());
    };
    const double paced = ticksPerSecond(2000);
    EXPECT_LE(paced, 2.5 * kRate);
    EXPECT_GE(paced, kRate - 2.0);

    auto* view = m_control->widget()->findChild<QWebEngineView*>();
    ASSERT_NE(view, nullptr);
    QTest::mouseMove(view->focusProxy(), QPoint(30, 30));
    QTest::mouseMove(view->focusProxy(), QPoint(60, 40));
    EXPECT_GT(ticksPerSecond(800), 3.0 * kRate) << "after input, paced at " << paced;

    settle(2500);
    EXPECT_LE(ticksPerSecond(1000), 2.5 * kRate) << "the input's while is over";
    evaluate(page, "const c = document.createElement('canvas').getContext('2d'); let t0 = 0;"
                   "(function draw(t) { if (t - t0 > 30) { t0 = t; c.resetTransform(); }"
                   "requestAnimationFrame(draw); })(0); 0");
    settle(1000);
    EXPECT_GT(ticksPerSecond(1000), 3.0 * kRate) << "with a drawing between the frames";
}

TEST_F(RuffleFlashControlTest, StopHoldsTheFrameAndPlayResumes) {
    ASSERT_TRUE(loadTestMovie());
    ASSERT_TRUE(waitUntil([&] { return m_control->currentFrame() >= 6; }, 5000));
    m_control->stop();
    EXPECT_FALSE(m_control->isPlaying());
    settle(300); // the page's answer to the stop
    const int held = m_control->currentFrame();
    settle(1200);
    EXPECT_EQ(m_control->currentFrame(), held);
    EXPECT_FALSE(m_control->isPlaying());
    // The emulator itself sleeps, so that a paused movie costs no drawing, and the page runs
    // no animation frames for it (the emulator keeps asking for them).
    EXPECT_FALSE(evaluate(m_control->page(), kEmulatorRuns).toBool());
    evaluate(m_control->page(), kCountAnimationFrames);
    settle(500);
    EXPECT_LE(evaluate(m_control->page(), "window.testFrames").toInt(), 1);
    // ...without its own play button over the movie: the program has one.
    EXPECT_EQ(evaluate(m_control->page(), "getComputedStyle(document.querySelector('#stage > *')"
                                          ".shadowRoot.getElementById('play-button')).display")
                  .toString(),
              "none");

    m_control->play();
    EXPECT_TRUE(m_control->isPlaying());
    EXPECT_TRUE(waitUntil([&] { return m_control->currentFrame() >= held + 6; }, 3000));
    EXPECT_TRUE(m_control->isPlaying());
    EXPECT_TRUE(evaluate(m_control->page(), kEmulatorRuns).toBool());
    EXPECT_TRUE(waitUntil(
        [&] { return evaluate(m_control->page(), "window.testFrames").toInt() > 10; }, 3000));
}

TEST_F(RuffleFlashControlTest, AHiddenMovieRestsAndPlaysOnWhenShown) {
    ASSERT_TRUE(loadTestMovie());
    const auto emulatorRuns = [&] { return evaluate(m_control->page(), kEmulatorRuns).toBool(); };
    m_control->widget()->hide();
    EXPECT_TRUE(waitUntil([&] { return !emulatorRuns(); }, 3000));
    EXPECT_TRUE(m_control->isPlaying()) << "resting is not a pause of the movie";

    m_control->widget()->show();
    EXPECT_TRUE(waitUntil(emulatorRuns, 3000));
    const int shown = m_control->currentFrame();
    EXPECT_TRUE(waitUntil([&] { return m_control->currentFrame() >= shown + 6; }, 3000));
}

TEST_F(RuffleFlashControlTest, GotoWhileStoppedHoldsThatFrame) {
    ASSERT_TRUE(loadTestMovie());
    m_control->stop();
    m_control->gotoFrame(50);
    EXPECT_EQ(m_control->currentFrame(), 50);
    settle(1500);
    EXPECT_EQ(m_control->currentFrame(), 50);
    EXPECT_FALSE(m_control->isPlaying());
    EXPECT_TRUE(m_control->framesExact());

    m_control->gotoFrame(500);
    EXPECT_EQ(m_control->currentFrame(), kFrames - 1);
}

TEST_F(RuffleFlashControlTest, WithoutLoopTheMovieEndsOnItsLastFrame) {
    // The 120-frame movie lasts 10 s; a later goto near the end saves the wait.
    ASSERT_TRUE(loadTestMovie());
    m_control->gotoFrame(kFrames - 13);
    ASSERT_TRUE(waitUntil([&] { return !m_control->isPlaying(); }, 4000));
    EXPECT_EQ(m_control->currentFrame(), kFrames - 1);
    settle(500);
    EXPECT_EQ(m_control->currentFrame(), kFrames - 1);
}

// A movie that stopped itself draws the same picture every frame; it reaches the screen once,
// and a picture that changes still does.
TEST_F(RuffleFlashControlTest, AStillPictureIsDrawnOnceAndAChangeShows) {
    ASSERT_TRUE(loadTestMovie());
    QWebEnginePage* page = m_control->page();
    // A sum over a grid of the emulator's pixels.
    const auto picture = [&] {
        return evaluate(page, "(() => { const c = document.querySelector('#stage > *')"
                              ".shadowRoot.querySelector('canvas'); const d = c.getContext('2d')"
                              ".getImageData(0, 0, c.width, c.height).data; let s = 0;"
                              "for (let i = 0; i < d.length; i += 4 * 97) s += d[i] + 3 * d[i + 1]"
                              " + 7 * d[i + 2]; return s; })()")
            .toDouble();
    };
    m_control->gotoFrame(kFrames - 4);
    ASSERT_TRUE(waitUntil([&] { return !m_control->isPlaying(); }, 3000));
    EXPECT_GE(growthIn(page, "lumoraStillFrames.skipped()", 1000), kRate / 2);
    // Still and silent a while, it is ticked every few frames, and without the screen's refresh.
    settle(1500);
    // The movie's state is read with its ticks then, not ten times a second.
    evaluate(page, "window.testReads = 0; const movie = document.querySelector('#stage > *');"
                   "const frameOf = movie.lumoraFrame; Object.defineProperty(movie, 'lumoraFrame', "
                   "{ value: () => (++window.testReads, frameOf.call(movie)) }); 0");
    const int ticksBefore = evaluate(page, "lumoraFrames.delivered()").toInt();
    const int reads = growthIn(page, "window.testReads", 1500);
    const int ticks = evaluate(page, "lumoraFrames.delivered()").toInt() - ticksBefore;
    EXPECT_LE(ticks, kRate);
    EXPECT_GT(reads, 0);
    EXPECT_LE(reads, ticks + 1);
    EXPECT_EQ(growthIn(page, "lumoraFrames.refreshes()", 1000), 0);
    // Input right after a rest tick is answered at the next refresh, not at the next rest tick.
    evaluate(page, "window.testAnswer = null; (() => { let before = lumoraFrames.delivered(), t;"
                   "(function wait() { const now = lumoraFrames.delivered();"
                   "if (t === undefined && now > before) { before = now; t = performance.now();"
                   "window.dispatchEvent(new PointerEvent('pointerdown')); }"
                   "else if (t !== undefined && now > before)"
                   "return void (window.testAnswer = performance.now() - t);"
                   "setTimeout(wait, 1); })(); })(); 0");
    QVariant answer;
    ASSERT_TRUE(
        waitUntil([&] { return !(answer = evaluate(page, "window.testAnswer")).isNull(); }, 2000));
    EXPECT_LT(answer.toDouble(), 125) << "a rest tick comes every 250 ms";
    const double end = picture();
    EXPECT_GT(end, 0);

    m_control->gotoFrame(10);
    ASSERT_TRUE(waitUntil([&] { return picture() != end; }, 2000))
        << "the held picture never changed";
    const double tenth = picture();
    settle(500);
    EXPECT_EQ(picture(), tenth);
}

// The same drawing calls make another picture once what they draw from has changed.
TEST_F(RuffleFlashControlTest, AHeldPictureFollowsTheCanvasItDrawsFrom) {
    ASSERT_TRUE(waitUntil([&] { return m_control->isHostReady(); }, 10000));
    QWebEnginePage* page = m_control->page();
    evaluate(page, "const shown = document.createElement('canvas'); document.body.append(shown);"
                   "const source = document.createElement('canvas');"
                   "window.testPaint = colour => { const s = source.getContext('2d');"
                   "s.fillStyle = colour; s.fillRect(0, 0, 300, 150); };"
                   "testPaint('red'); const c = shown.getContext('2d');"
                   "(function draw() { c.resetTransform(); c.drawImage(source, 0, 0);"
                   "requestAnimationFrame(draw); })(); 0");
    // Read without a reading of the canvas's context, which counts as a change.
    const auto shown = [&] { return evaluate(page, "shown.toDataURL()").toString(); };
    settle(300);
    const QString red = shown();
    EXPECT_GT(growthIn(page, "lumoraStillFrames.skipped()", 300), 0);
    evaluate(page, "testPaint('lime'); 0");
    EXPECT_TRUE(waitUntil([&] { return shown() != red; }, 2000));
}

// Through silence the sound output rests, while the emulator still sees its context running
// and its clock going on; the first sound wakes the output.
TEST_F(RuffleFlashControlTest, TheSoundOutputRestsThroughSilence) {
    playMovie(s_movies->file("sound.swf"));
    ASSERT_TRUE(waitLoaded());
    QWebEnginePage* page = m_control->page();
    const QString state =
        "(() => { const c = lumoraAudio.context(); const real = Object.getOwnPropertyDescriptor("
        "BaseAudioContext.prototype, 'state').get.call(c); return [lumoraAudio.quiet(), real, "
        "c.state, c.currentTime]; })()";
    const auto read = [&] { return evaluate(page, state).toList(); };
    ASSERT_TRUE(waitUntil([&] { return read().value(0).toBool(); }, (kSilentSeconds - 1) * 1000));
    const QVariantList quiet = read();
    EXPECT_EQ(quiet.value(1).toString(), "suspended");
    EXPECT_EQ(quiet.value(2).toString(), "running") << "as the emulator sees it";
    QElapsedTimer clock;
    clock.start();
    settle(500);
    EXPECT_NEAR(read().value(3).toDouble() - quiet.value(3).toDouble(), clock.elapsed() / 1000.0,
                0.15);

    ASSERT_TRUE(waitUntil([&] { return !read().value(0).toBool(); }, 4000)) << "the tone";
    EXPECT_LE(m_control->currentFrame(), (kSilentSeconds + 0.7) * kRate) << "woke late";
    EXPECT_TRUE(waitUntil([&] { return read().value(1).toString() == "running"; }, 1000));
}

TEST_F(RuffleFlashControlTest, DamagedOrForeignMoviesNeverReachLoaded) {
    s_movies->write("cut.swf", s_swf.left(s_swf.size() / 2));
    s_movies->write("page.swf", "<html><body>not found</body></html>");
    for (const QString name : {"cut.swf", "page.swf", "missing.swf", "flvplayer.swf?file=0.swf"}) {
        SCOPED_TRACE(name.toStdString());
        playMovie(s_movies->file(name));
        settle(2500); // a whole movie of this size is ready in well under a second
        EXPECT_NE(m_control->readyState(), FlashReadyState::Complete);
    }
    // A good movie still plays after them in the same page.
    EXPECT_TRUE(loadTestMovie());
}

TEST_F(RuffleFlashControlTest, PatcherSeesLoopSetAfterMovieAndFailureFallsBack) {
    QList<bool> loops;
    m_control->setMoviePatcher([&](const QByteArray&, bool loop) -> PreparedMovie {
        loops << loop;
        throw SwfError("not today");
    });
    playMovie(s_movies->file("movie.swf"), false);
    ASSERT_TRUE(waitLoaded());
    EXPECT_EQ(loops, QList<bool>{false});
    EXPECT_EQ(m_control->totalFrames(), kFrames);
    // Without callbacks the frames follow the clock.
    EXPECT_FALSE(m_control->framesExact());
    EXPECT_TRUE(waitUntil([&] { return m_control->currentFrame() >= 6; }, 3000));
    m_control->stop();
    const int held = m_control->currentFrame();
    settle(1000);
    EXPECT_EQ(m_control->currentFrame(), held);
    m_control->gotoFrame(50);
    settle(500);
    EXPECT_EQ(m_control->currentFrame(), 50);
    EXPECT_FALSE(m_control->isPlaying());
}

TEST_F(RuffleFlashControlTest, CallFunctionAnswersWithTheMoviesEarlierReplyWithoutWaiting) {
    const QString total =
        "<invoke name=\"lumoraTotal\" returntype=\"xml\"><arguments></arguments></invoke>";
    const QString missing = "<invoke name=\"getDuration\"></invoke>";
    auto reply = [&](const QString& request) -> std::optional<QString> {
        const Outcome<QString> answer = m_control->CallFunction(request);
        return answer ? std::optional(*answer) : std::nullopt;
    };
    EXPECT_FALSE(reply(total)); // no movie yet
    ASSERT_TRUE(loadTestMovie());
    ASSERT_TRUE(waitUntil([&] { return m_control->framesExact(); }, 5000));
    EXPECT_FALSE(reply(total)) << "the first call of a request has no answer to give yet";
    EXPECT_TRUE(waitUntil([&] { return reply(total) == "<number>120</number>"; }, 3000));
    EXPECT_FALSE(reply(missing));
    settle(300);
    EXPECT_FALSE(reply(missing)) << "a callback the movie lacks never answers";
    EXPECT_FALSE(m_control->CallFunction("getDuration")) << "not a request";
}

TEST_F(RuffleFlashControlTest, FollowsTheProgramVolume) {
    ASSERT_TRUE(loadTestMovie());
    const QString read = "document.querySelector('#stage > *').ruffle().volume";
    EXPECT_DOUBLE_EQ(evaluate(m_control->page(), read).toDouble(), 1.0);
    m_volume.write(0x00008000u);
    EXPECT_TRUE(waitUntil(
        [&] {
            return qAbs(evaluate(m_control->page(), read).toDouble() - outputLevel(0x8000)) < 1e-3;
        },
        3000));
}

TEST_F(RuffleFlashControlTest, OnlyTheHostPageSeesTheChannel) {
    ASSERT_TRUE(waitUntil([&] { return m_control->isHostReady(); }));
    EXPECT_EQ(evaluate(m_control->page(), "typeof qt.webChannelTransport").toString(), "object");

    QWebEnginePage other;
    bool loaded = false;
    QObject::connect(&other, &QWebEnginePage::loadFinished, [&](bool) { loaded = true; });
    other.setHtml("<html><body>site</body></html>", QUrl::fromLocalFile(s_movies->path()));
    ASSERT_TRUE(waitUntil([&] { return loaded; }));
    EXPECT_EQ(evaluate(&other, "typeof qt").toString(), "undefined");
}

TEST_F(RuffleFlashControlTest, TheHostPageStaysPut) {
    ASSERT_TRUE(loadTestMovie());
    const QStringList refused{QUrl::fromLocalFile(s_movies->path()).toString(),
                              "http://127.0.0.1:9/"};
    for (const QString& target : refused) {
        SCOPED_TRACE(target.toStdString());
        evaluate(m_control->page(), QStringLiteral("location.href = '%1'").arg(target));
        evaluate(m_control->page(), QStringLiteral("window.open('%1')").arg(target));
        settle(300);
        EXPECT_EQ(evaluate(m_control->page(), "typeof lumoraHost").toString(), "object");
    }
    EXPECT_EQ(m_control->readyState(), FlashReadyState::Complete);
    const int before = m_control->currentFrame();
    EXPECT_TRUE(waitUntil([&] { return m_control->currentFrame() > before; }, 2000));

    // This one the engine does not ask about: the host comes back, without the movie.
    evaluate(m_control->page(), "location.href = 'about:blank'");
    EXPECT_TRUE(
        waitUntil([&] { return m_control->readyState() == FlashReadyState::Uninitialised; }, 3000));
    EXPECT_TRUE(loadTestMovie());
    EXPECT_EQ(evaluate(m_control->page(), "typeof lumoraHost").toString(), "object");
}

TEST_F(RuffleFlashControlTest, FullScreenFollowsAClickAndLeavesOnEscape) {
    ASSERT_TRUE(loadTestMovie());
    QList<bool> changes;
    m_control->onFullScreenChanged = [&](bool on) { changes << on; };
    // Stands for the player movie's own full-screen button.
    evaluate(m_control->page(), "document.addEventListener('click', () => "
                                "document.documentElement.requestFullscreen(), true)");
    auto* view = m_control->widget()->findChild<QWebEngineView*>();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(waitUntil([&] { return view->focusProxy() != nullptr; }, 3000));
    QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(40, 40));
    ASSERT_TRUE(waitUntil([&] { return m_control->isFullScreen(); }, 3000));
    EXPECT_EQ(changes, QList<bool>{true});
    EXPECT_NE(view->window(), m_window.get());
    EXPECT_TRUE(view->window()->isFullScreen());

    QTest::keyClick(view->focusProxy(), Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([&] { return !m_control->isFullScreen(); }, 3000));
    EXPECT_EQ(changes, (QList<bool>{true, false}));
    EXPECT_EQ(view->window(), m_window.get());
    EXPECT_EQ(view->parentWidget(), m_control->widget());
}

// The download engine's loopback address, with the header it sends.
class MovieServer {
public:
    explicit MovieServer(const QByteArray& swf) {
        m_http.server().Get(
            "/P2P/3.swf", [swf](const httplib::Request&, httplib::Response& response) {
                response.set_header("Access-Control-Allow-Origin", "*");
                response.set_content(swf.toStdString(), "application/x-shockwave-flash");
            });
        m_http.start();
    }
    QString url(const QString& path) const { return m_http.address(path); }

private:
    HttpServer m_http;
};

// Whether the page may read a local file now, as a movie's request would.
bool pageReadsLocalFile(QWebEnginePage* page, const QString& path) {
    evaluate(page, QStringLiteral("window.readResult = null; fetch('%1').then(r => r.arrayBuffer())"
                                  ".then(() => { window.readResult = 'read'; },"
                                  " () => { window.readResult = 'refused'; })")
                       .arg(QUrl::fromLocalFile(path).toString()));
    QString result;
    waitUntil(
        [&] {
            result = evaluate(page, "window.readResult").toString();
            return !result.isEmpty();
        },
        5000);
    return result == "read";
}

TEST_F(RuffleFlashControlTest, PlaysFromTheEngineAddressWithoutLocalFiles) {
    MovieServer server(s_swf);
    playMovie(server.url("/P2P/3.swf"));
    ASSERT_TRUE(waitLoaded());
    EXPECT_EQ(m_control->totalFrames(), kFrames);
    EXPECT_TRUE(m_control->framesExact());
    EXPECT_FALSE(pageReadsLocalFile(m_control->page(), s_movies->file("movie.swf")));

    // A local movie may read local files (the player movie reads its video so).
    ASSERT_TRUE(loadTestMovie());
    EXPECT_TRUE(pageReadsLocalFile(m_control->page(), s_movies->file("movie.swf")));

    playMovie(server.url("/P2P/missing.swf"));
    settle(1500);
    EXPECT_EQ(m_control->readyState(), FlashReadyState::Uninitialised);
}

} // namespace
} // namespace lumora::test
