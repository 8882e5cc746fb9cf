#include "harness.h"

#include "playerarea.h"
#include "playlist.h"
#include "texts.h"
#include "transportbar.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <map>

using namespace lumora;
using namespace lumora::test;

namespace {

// Channel 23 with every kind of programme, a folder among them and a text programme.
QByteArray kindsCatalogue() {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<list>
  <item type="0" id="1" pid="" name="混合"/>
  <item type="1" id="11" pid="1" name="m1"/>
  <item type="1" id="12" pid="1" name="m2"/>
  <item type="4" id="13" pid="1" name="v1"/>
  <item type="4" id="14" pid="1" name="v2 b+c&amp;d%e 小"/>
  <item type="2" id="15" pid="1" name="a1"/>
  <item type="1" id="16" pid="1" name="m3"/>
  <item type="0" id="2" pid="1" name="故事"/>
  <item type="1" id="21" pid="2" name="g1"/>
  <item type="3" id="17" pid="1" name="t1"/>
</list>
)";
}
constexpr int kM1 = 1, kM2 = 2, kV1 = 3, kV2 = 4, kA1 = 5, kM3 = 6, kFolder = 7, kG1 = 8, kText = 9;

const QString kPlayState = QStringLiteral("<invoke name=\"getPlayState\"></invoke>");

struct KindsWindow {
    Harness h;
    TfrmMain* w = nullptr;

    KindsWindow() {
        h.writeCatalogue(23, kindsCatalogue());
        w = &h.create();
        w->show();
    }
    void play(int index) {
        ASSERT_TRUE(w->selectNode(index));
        w->tv1Click();
    }
    // Full screen as the user asks for it; a video's movie takes the screen itself.
    void enterFullScreen() {
        w->sbtnFullScreenClick();
        if (w->curPlay()->type == ProgrammeType::Video)
            h.flash.setFullScreen(true);
    }
    // The playing programme comes to its end and the tick sees it.
    void endByTick() {
        h.flash.ready = FlashReadyState::Complete;
        h.flash.frames = 30;
        h.flash.frame = 29;
        h.flash.replies[kPlayState] = QStringLiteral("<number>0</number>");
        w->TimerPlayListTimer();
    }
};

} // namespace

TEST(FullScreen, EndsWhenTheProgrammeEndsOrChangesKind) {
    struct Case {
        int from;
        QString mode;
        int next; // the programme playing afterwards
        bool stays;
    };
    const Case cases[] = {
        {kM1, PlayMode::Loop, kM2, true},   // the next movie
        {kM2, PlayMode::Loop, kV1, false},  // movie -> video
        {kV1, PlayMode::Loop, kV2, true},   // the next video
        {kV2, PlayMode::Loop, kA1, false},  // video -> audio
        {kM3, PlayMode::Loop, kM3, false},  // the next node is a folder: the playlist stops
        {kG1, PlayMode::Once, kG1, false},  // the category is done
        {kG1, PlayMode::Repeat, kG1, true}, // the same movie again
        {kV1, PlayMode::Repeat, kV1, true}, // the same video again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " in mode " + c.mode.toStdString());
        KindsWindow k;
        k.h.config.playMode = c.mode;
        k.play(c.from);
        k.enterFullScreen();
        ASSERT_EQ(k.w->fullScreenOn(), 1);
        const bool window = k.w->isFullScreen();
        k.endByTick();
        EXPECT_EQ(k.h.config.currentNodeIndex, c.next);
        EXPECT_EQ(k.w->fullScreenOn(), c.stays ? 1 : 0);
        EXPECT_EQ(k.h.flash.fullScreen || k.w->isFullScreen(), c.stays);
        // The transport bar shows exactly when the window is not full screen.
        EXPECT_EQ(k.w->transportBar().isHidden(), window && c.stays);
        EXPECT_EQ(part<ExitFullScreenPanel>(*k.w).isHidden(), !(window && c.stays));
    }
}

TEST(FullScreen, OnFollowsWhatTheControlReallyShows) {
    KindsWindow k;
    k.play(kV1);
    k.w->sbtnFullScreenClick(); // the movie has not taken the screen yet
    EXPECT_EQ(k.w->fullScreenOn(), 0);
    k.h.flash.setFullScreen(true);
    EXPECT_EQ(k.w->fullScreenOn(), 1);

    // The control leaves later than asked: until then it is still full screen, and its Esc
    // ends it although an audio programme plays by then.
    k.h.flash.leavesOnEsc = false;
    k.play(kA1);
    EXPECT_EQ(k.h.flash.escapes, 1);
    EXPECT_EQ(k.w->fullScreenOn(), 1);
    k.h.flash.setFullScreen(false);
    EXPECT_EQ(k.w->fullScreenOn(), 0);

    // The movie's own button counts as well.
    k.play(kV1);
    k.h.flash.setFullScreen(true);
    EXPECT_EQ(k.w->fullScreenOn(), 1);
}

TEST(Playlist, AFolderNextIsOpenedOnceAndThePlaylistStops) {
    KindsWindow k;
    k.play(kM3);
    ASSERT_FALSE(k.w->catalogue().isExpanded(kFolder));
    const int plays = int(k.h.played.size());
    for (int tick = 0; tick < 3; ++tick) {
        k.endByTick();
        EXPECT_TRUE(k.w->catalogue().isExpanded(kFolder)) << tick;
    }
    EXPECT_EQ(k.w->selectedNode(), kFolder);
    EXPECT_EQ(int(k.h.played.size()), plays);
    EXPECT_EQ(k.h.config.currentNodeIndex, kM3);
    k.w->btnNextClick(); // the user's next still moves, and leaves the open folder open
    EXPECT_TRUE(k.w->catalogue().isExpanded(kFolder));
}

TEST(Playback, ATextProgrammeBlanksThePlayerAndShowsStopped) {
    KindsWindow k;
    k.play(kV1);
    k.play(kText);
    EXPECT_EQ(k.h.flash.movie(), k.h.config.appDir + "flvplayer.swf?file=0.swf");
    EXPECT_EQ(k.h.flash.flashVars, ""); // not the video's file again
    EXPECT_TRUE(part<PlayerArea>(*k.w).flashShown());
    EXPECT_EQ(k.w->transportBar().statusText(), "已停止");
    EXPECT_TRUE(k.w->transportBar().findChild<QPushButton*>("btnPlay")->isEnabled());
    EXPECT_TRUE(playListTimer(*k.w).isActive());
}

// Splits parameters as the player movie's host reads them (form encoding: '+' is a blank).
std::map<QString, QString> formDecode(const QString& text) {
    std::map<QString, QString> values;
    for (const QString& pair : text.split(QLatin1Char('&'))) {
        const qsizetype mark = pair.indexOf(QLatin1Char('='));
        auto decode = [](QString part) {
            return QUrl::fromPercentEncoding(
                part.replace(QLatin1Char('+'), QLatin1Char(' ')).toUtf8());
        };
        values[decode(pair.left(mark))] = decode(pair.mid(mark + 1));
    }
    return values;
}

TEST(Playback, ADownloadedVideoNameArrivesWhole) {
    KindsWindow k;
    const QString file = k.h.config.downloadDir + "v2 b+c&d%e 小.flv";
    k.h.root.write(QDir(k.h.root.path()).relativeFilePath(file), "FLV"); // the download folder
    k.play(kV2);
    const std::map<QString, QString> vars = formDecode(k.h.flash.flashVars);
    EXPECT_EQ(vars.at("file"), file);
    EXPECT_EQ(vars.size(), 8u);
    EXPECT_EQ(vars.at("streamscript"), "http://");
}
