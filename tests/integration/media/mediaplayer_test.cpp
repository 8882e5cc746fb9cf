#include "audiobatch.h"
#include "qtmediaplayer.h"
#include "support/httpserver.h"
#include "support/tempdir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <functional>

namespace lumora {
namespace {

constexpr std::int64_t kToneMs = 3000;
constexpr std::int64_t kLengthTolerance = 150;

// Runs the event loop until done() holds or the time is up; answers done() at the end.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 2000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

// True when the player never reports Playing during the whole time.
bool neverPlays(const MediaPlayer& player, int forMs) {
    return !waitFor([&] { return player.mode() == MediaMode::Playing; }, forMs);
}

// Serves a directory on 127.0.0.1 (with Range support) from its own thread.
class FileServer {
public:
    explicit FileServer(const QString& directory) {
        m_http.server().set_mount_point("/media", directory.toStdString());
        // Players hold their connection open; stopping must not wait out a long keep-alive.
        m_http.server().set_keep_alive_timeout(1);
        m_http.start();
    }
    QString address(const QString& name) const { return m_http.address("/media/" + name); }

private:
    test::HttpServer m_http;
};

class QtMediaPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        preferLightMp3Decoder(); // as the program does
        s_dir = new test::TempDir;
        const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (ffmpeg.isEmpty())
            return;
        QProcess process;
        process.start(ffmpeg,
                      {"-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                       "sine=frequency=440:duration=3", "-q:a", "5", s_dir->file("tone.mp3")});
        s_haveTone = process.waitForFinished(30000) && process.exitCode() == 0;
        s_dir->write("notes.mp3", QByteArray(4096, 'x'));
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override {
        if (!s_haveTone)
            GTEST_SKIP() << "ffmpeg is needed to make the test sound";
    }

    // Opens and plays; true once it plays.
    bool start(MediaPlayer& player, const QString& fileName) {
        player.setFileName(fileName);
        player.open();
        player.play();
        return waitFor([&] { return player.mode() == MediaMode::Playing; });
    }

    static test::TempDir* s_dir;
    static bool s_haveTone;
    ProgramVolume m_volume;
    QtMediaPlayer m_player{m_volume};
};

test::TempDir* QtMediaPlayerTest::s_dir = nullptr;
bool QtMediaPlayerTest::s_haveTone = false;

TEST(LightMp3Decoder, ComesFirstUnlessTheRanksAlreadyNameIt) {
    const struct {
        const char* ranks;
        const char* result;
    } cases[] = {
        {"", "mpg123audiodec:MAX"},
        {"avdec_mp3:NONE", "avdec_mp3:NONE,mpg123audiodec:MAX"},
        {"mpg123audiodec:NONE", "mpg123audiodec:NONE"},
        {"vaapih264dec:NONE, mpg123audiodec:PRIMARY", "vaapih264dec:NONE, mpg123audiodec:PRIMARY"},
        {"mpg123audiodecx:NONE", "mpg123audiodecx:NONE,mpg123audiodec:MAX"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withLightMp3Decoder(c.ranks), QByteArray(c.result)) << c.ranks;
}

TEST(DecodedAudio, EveryDecoderInAPipelineGathersItsSound) {
    batchDecodedAudio();
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* loose = gst_element_factory_make("mpg123audiodec", nullptr);
    ASSERT_NE(loose, nullptr);
    for (const char* factory : {"mpg123audiodec", "avdec_mp3"}) {
        GstElement* decoder = gst_element_factory_make(factory, nullptr);
        ASSERT_NE(decoder, nullptr) << factory;
        gst_bin_add(GST_BIN(pipeline), decoder);
        gint64 batch = 0;
        g_object_get(decoder, "min-latency", &batch, nullptr);
        EXPECT_EQ(batch, std::chrono::nanoseconds(kDecodedAudioBatch).count()) << factory;
    }
    gint64 looseBatch = -1;
    g_object_get(loose, "min-latency", &looseBatch, nullptr);
    EXPECT_EQ(looseBatch, 0) << "only elements added to a bin are changed";
    gst_object_unref(loose);
    gst_object_unref(pipeline);
}

TEST_F(QtMediaPlayerTest, PlaysALocalFileWithItsLengthAndMovingPosition) {
    EXPECT_EQ(m_player.mode(), MediaMode::NotReady);
    ASSERT_TRUE(start(m_player, s_dir->file("tone.mp3")));
    ASSERT_TRUE(waitFor([&] { return m_player.length() > 0; }));
    EXPECT_NEAR(m_player.length(), kToneMs, kLengthTolerance);
    const std::int64_t first = m_player.position();
    EXPECT_TRUE(waitFor([&] { return m_player.position() >= first + 300; }));
}

TEST_F(QtMediaPlayerTest, PauseTogglesAndHoldsThePosition) {
    ASSERT_TRUE(start(m_player, s_dir->file("tone.mp3")));
    ASSERT_TRUE(waitFor([&] { return m_player.position() > 200; }));
    m_player.pause();
    ASSERT_TRUE(waitFor([&] { return m_player.mode() == MediaMode::Paused; }));
    const std::int64_t held = m_player.position();
    waitFor([] { return false; }, 400);
    EXPECT_NEAR(m_player.position(), held, 50);
    EXPECT_EQ(m_player.mode(), MediaMode::Paused);

    m_player.pause();
    EXPECT_TRUE(waitFor([&] { return m_player.mode() == MediaMode::Playing; }));
    EXPECT_TRUE(waitFor([&] { return m_player.position() > held + 200; }));
}

TEST_F(QtMediaPlayerTest, SeeksAndStopsWhereItIs) {
    ASSERT_TRUE(start(m_player, s_dir->file("tone.mp3")));
    m_player.seek(2000);
    ASSERT_TRUE(waitFor([&] { return m_player.position() >= 2000; }));
    EXPECT_LT(m_player.position(), 2300);

    m_player.stop();
    EXPECT_EQ(m_player.mode(), MediaMode::Stopped);
    const std::int64_t held = m_player.position();
    EXPECT_GE(held, 2000);
    waitFor([] { return false; }, 300);
    EXPECT_NEAR(m_player.position(), held, 50);
    EXPECT_EQ(m_player.mode(), MediaMode::Stopped);
}

TEST_F(QtMediaPlayerTest, AtTheEndReportsThePositionAsTheLength) {
    ASSERT_TRUE(start(m_player, s_dir->file("tone.mp3")));
    ASSERT_TRUE(waitFor([&] { return m_player.length() > 0; }));
    m_player.seek(m_player.length() - 300);
    ASSERT_TRUE(waitFor([&] { return m_player.mode() == MediaMode::Stopped; }));
    EXPECT_GT(m_player.length(), 0);
    EXPECT_EQ(m_player.position(), m_player.length());
}

TEST_F(QtMediaPlayerTest, EjectReleasesTheMediaAndTheControlPlaysAgain) {
    ASSERT_TRUE(start(m_player, s_dir->file("tone.mp3")));
    m_player.stop();
    m_player.eject();
    EXPECT_EQ(m_player.mode(), MediaMode::NotReady);
    EXPECT_EQ(m_player.length(), 0);
    m_player.play(); // nothing is open
    EXPECT_TRUE(neverPlays(m_player, 300));
    EXPECT_TRUE(start(m_player, s_dir->file("tone.mp3")));
}

TEST_F(QtMediaPlayerTest, MediaThatCannotPlayNeverReportsPlaying) {
    FileServer server(s_dir->path());
    const QString sources[] = {
        s_dir->file("missing.mp3"),
        s_dir->file("notes.mp3"), // not sound at all
        QString(),
        server.address("missing.mp3"),
    };
    for (const QString& source : sources) {
        QtMediaPlayer player(m_volume);
        player.setFileName(source);
        player.open();
        player.play();
        player.pause(); // a toggle must not bring it to life either
        player.pause();
        EXPECT_TRUE(neverPlays(player, 1000)) << source.toStdString();
        EXPECT_EQ(player.mode(), MediaMode::NotReady) << source.toStdString();
        EXPECT_EQ(player.length(), 0) << source.toStdString();
    }
}

TEST_F(QtMediaPlayerTest, PlaysFromAnHttpAddress) {
    FileServer server(s_dir->path());
    ASSERT_TRUE(start(m_player, server.address("tone.mp3")));
    ASSERT_TRUE(waitFor([&] { return m_player.length() > 0; }));
    EXPECT_NEAR(m_player.length(), kToneMs, kLengthTolerance);
    const std::int64_t first = m_player.position();
    EXPECT_TRUE(waitFor([&] { return m_player.position() >= first + 300; }));
}

TEST_F(QtMediaPlayerTest, EveryPlayerFollowsTheProgramVolume) {
    const std::uint32_t half = (128u << 8) | (128u << 24);
    m_volume.write(half);
    EXPECT_EQ(m_volume.read(), half);
    EXPECT_NEAR(m_player.outputVolume(), 128 / 255.0, 0.01);

    QtMediaPlayer later(m_volume); // made after the change: starts at the current volume
    EXPECT_NEAR(later.outputVolume(), 128 / 255.0, 0.01);

    m_volume.write(0);
    EXPECT_EQ(m_player.outputVolume(), 0.0);
    EXPECT_EQ(later.outputVolume(), 0.0);
    { QtMediaPlayer dropped(m_volume); }
    m_volume.write(kFullVolume); // a destroyed player is no longer told
    EXPECT_NEAR(m_player.outputVolume(), 1.0, 1e-6);
}

TEST_F(QtMediaPlayerTest, TakesItsNameAsObjectName) {
    QObject window;
    QtMediaPlayerFactory factory(m_volume);
    std::unique_ptr<MediaPlayer> player = factory.create(&window);
    player->setName(QStringLiteral("FrameMP2"));
    EXPECT_EQ(player->name(), QStringLiteral("FrameMP2"));
    EXPECT_NE(window.findChild<QObject*>(QStringLiteral("FrameMP2")), nullptr);
    player.reset();
    EXPECT_EQ(window.findChild<QObject*>(QStringLiteral("FrameMP2")), nullptr);
}

} // namespace
} // namespace lumora
