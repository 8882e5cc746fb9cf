// The player movie inside the Flash control, driven as the playlist drives it.
#include "flvplayer.h"
#include "ruffleflashcontrol.h"
#include "support/eventwait.h"
#include "support/flvclip.h"
#include "support/tempdir.h"
#include "volume.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace lumora::test {
namespace {

class PlayerMovieInControl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveFfmpeg())
            GTEST_SKIP() << "ffmpeg is needed to make the video";
        ASSERT_TRUE(makeFlvClip(m_dir.file("clip.flv"), {160, 120}, 6));
        m_window = std::make_unique<QWidget>();
        m_window->resize(400, 300);
        m_control = std::make_unique<RuffleFlashControl>(
            qEnvironmentVariable("LUMORA_CLIENT_DIR") + "/ruffle", m_volume, m_window.get());
        m_control->widget()->resize(400, 300);
        m_window->show();
    }

    QString playerMovie() const {
        return qEnvironmentVariable("LUMORA_CLIENT_DIR") + "/flvplayer.swf";
    }

    TempDir m_dir;
    ProgramVolume m_volume;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<RuffleFlashControl> m_control;
};

TEST_F(PlayerMovieInControl, PlaysPausesAndSeeksAVideo) {
    m_control->setFlashVars(flvPlayerVars(m_dir.file("clip.flv")));
    m_control->setMovie(playerMovie());
    m_control->setLoop(false);
    ASSERT_TRUE(waitUntil([&] { return flvGetDuration(*m_control) == 6; }))
        << "duration " << flvGetDuration(*m_control);
    EXPECT_TRUE(waitUntil([&] { return flvGetPlayState(*m_control) == 1; }, 3000));
    ASSERT_TRUE(waitUntil([&] { return flvGetPosition(*m_control) >= 1; }, 5000));

    flvPlayPause(*m_control);
    ASSERT_TRUE(waitUntil([&] { return flvGetPlayState(*m_control) == 2; }, 3000));
    const int held = flvGetPosition(*m_control);
    waitUntil([] { return false; }, 1200);
    EXPECT_EQ(flvGetPosition(*m_control), held);

    flvSeek(*m_control, 4);
    EXPECT_TRUE(waitUntil([&] { return flvGetPosition(*m_control) == 4; }, 3000));
    flvPlayPause(*m_control);
    EXPECT_TRUE(waitUntil([&] { return flvGetPlayState(*m_control) == 0; }, 10000))
        << "the video ends";
}

TEST_F(PlayerMovieInControl, PlaysAFileNamedWithBlanksPlusAmpersandAndPercent) {
    const QString odd = m_dir.file("天地 人+&%.flv");
    ASSERT_TRUE(QFile::copy(m_dir.file("clip.flv"), odd));
    m_control->setFlashVars(flvPlayerVars(odd));
    m_control->setMovie(playerMovie());
    m_control->setLoop(false);
    EXPECT_TRUE(waitUntil([&] { return flvGetDuration(*m_control) == 6; }))
        << "duration " << flvGetDuration(*m_control);
}

TEST_F(PlayerMovieInControl, BlankMovieShowsNothing) {
    m_control->setMovie(playerMovie() + "?file=0.swf");
    ASSERT_TRUE(waitUntil([&] { return m_control->readyState() == FlashReadyState::Complete; }));
    // Each getter answers with the movie's reply to its previous call.
    flvGetDuration(*m_control);
    EXPECT_TRUE(waitUntil([&] { return flvGetPlayState(*m_control) == 0; }, 3000));
    EXPECT_EQ(flvGetDuration(*m_control), 0);
}

} // namespace
} // namespace lumora::test
