#include "harness.h"

#include "playlist.h"
#include "transportbar.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::test;

namespace {

// Always answers lo + offset (clamped), so draws are known.
class FixedRandom : public RandomSource {
public:
    explicit FixedRandom(int offset) : m_offset(offset) {}
    int uniform(int lo, int hi) override { return std::min(hi, lo + m_offset); }

private:
    int m_offset;
};

QString invoke(const char* name) {
    return QStringLiteral("<invoke name=\"%1\"></invoke>").arg(QLatin1String(name));
}

} // namespace

TEST(Playback, FlashMovieStepsInOrder) {
    Harness h;
    h.root.write("Client/Caches/23/11.swf", "FWS");
    TfrmMain& w = h.create();
    playListTimer(w).start();
    h.flash.log.clear();
    bool timerOffWhileStarting = false;
    QString statusWhileStarting;
    h.onPlay = [&] {
        timerOffWhileStarting = !playListTimer(w).isActive();
        statusWhileStarting = w.transportBar().statusText();
    };
    w.transportBar().setLoadPercent(50);
    w.transportBar().setTimeText("01:00/02:00");
    click(w, kFlashB);
    EXPECT_TRUE(timerOffWhileStarting);
    EXPECT_EQ(statusWhileStarting, "正在装载,请稍等");
    EXPECT_FALSE(w.transportBar().findChild<QPushButton*>("btnPlay")->isEnabled());
    EXPECT_FALSE(w.transportBar().isHidden());
    EXPECT_EQ(w.transportBar().loadWidth(), 0);
    EXPECT_EQ(w.transportBar().knobLeft(), TransportBar::kLoadBar.left);
    EXPECT_EQ(w.transportBar().timeText(), "00:00/00:00");
    const QString cached = h.root.file("Client/Caches/23/11.swf");
    EXPECT_EQ(
        h.flash.log,
        (QStringList{"FlashVars=", "Movie=" + h.config.appDir + "flvplayer.swf?file=0.swf",
                     "BackgroundColor=0", "ScaleMode=2", "Loop=0", "Movie=" + cached, "Loop=0"}));
    EXPECT_TRUE(w.isLocalFile());
    EXPECT_TRUE(h.engine.programCalls.empty());
    EXPECT_TRUE(playListTimer(w).isActive());
    EXPECT_EQ(w.curPlay()->id, "11");
}

TEST(Playback, CacheBeatsDownloadBeatsEngine) {
    Harness h;
    TfrmMain& w = h.create();
    const QString cached = h.root.file("Client/Caches/23/11.swf");
    const QString downloaded = h.root.file("Client/DL/b 的发音.swf");

    click(w, kFlashB); // neither: the engine is asked
    ASSERT_EQ(h.engine.programCalls.size(), 1u);
    EXPECT_EQ(h.flash.movie(), "http://127.0.0.1:9/P2P/5.swf");
    EXPECT_FALSE(w.isLocalFile());

    h.root.write("Client/DL/b 的发音.swf", "FWS");
    click(w, kFlashB);
    EXPECT_EQ(h.flash.movie(), downloaded);
    EXPECT_TRUE(w.isLocalFile());

    h.root.write("Client/Caches/23/11.swf", "FWS");
    click(w, kFlashB);
    EXPECT_EQ(h.flash.movie(), cached);
    EXPECT_EQ(h.engine.programCalls.size(), 1u); // asked only when neither exists
}

TEST(Playback, NamesThatLeaveTheFolderAreNotLookedUpThere) {
    // A file waits at each place an id or name would reach; none of them may be played. The
    // engine is asked instead, which needs a number for an id: other ids end in the standard
    // conversion error, as any id that is no number does.
    const QString longName(5000, QLatin1Char('n'));
    const struct {
        QString id;
        QString name;
        QString planted; // relative to the installation root, empty for none
    } cases[] = {
        {"7", "../../escape", "escape.swf"},               // Client/DL/../../
        {"7", "../Caches/22/7", "Client/Caches/22/7.swf"}, // another folder of ours
        {"7", "sub/n", "Client/DL/sub/n.swf"},             // a sub-folder is no plain name
        {"7", "..\\..\\escape", ""},                       // Windows separators
        {"7", longName, ""},                               // longer than a file name may be
        {"7", "/tmp/x", ""},                               // an absolute path
        {"../../../escape", "n", "escape.swf"},            // Client/Caches/23/../../../
        {"..", "n", "Client/Caches/23/...swf"},            // a dot name
        {"/" + QString(8, QLatin1Char('a')), "n", ""},     // an absolute path
        {longName, "n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id.left(40).toStdString() + " / " + c.name.left(40).toStdString());
        Harness h;
        h.writeCatalogue(23, QStringLiteral("<r><e type='1' id='%1' pid='' name='%2'/></r>")
                                 .arg(c.id, c.name)
                                 .toUtf8());
        if (!c.planted.isEmpty())
            h.root.write(c.planted, "FWS");
        TfrmMain& w = h.create();
        if (c.id == QLatin1String("7")) {
            click(w, 0);
            EXPECT_EQ(h.engine.programCalls.size(), 1u);
        } else {
            click(w, 0);
            ASSERT_EQ(h.dialogs.shown.size(), 1u);
            EXPECT_EQ(h.dialogs.shown[0].text,
                      QStringLiteral("'%1' is not a valid integer value").arg(c.id));
            EXPECT_TRUE(h.engine.programCalls.empty());
        }
        EXPECT_FALSE(w.isLocalFile());
        if (!c.planted.isEmpty()) {
            EXPECT_NE(h.flash.movie(), h.root.file(c.planted));
        }
    }
}

TEST(Playback, VideoSetsFlashVarsBeforeThePlayerMovie) {
    Harness h;
    h.root.write("Client/Caches/23/12.flv", "FLV");
    TfrmMain& w = h.create();
    h.flash.log.clear();
    click(w, kVideoP);
    const QString vars = "file=" + h.root.file("Client/Caches/23/12.flv") +
                         "&overstretch=true&showdigits=true&autostart=true&showplayerbar=true"
                         "&callback=true&enablejs=true&streamscript=http://";
    EXPECT_EQ(h.flash.log.mid(2),
              (QStringList{"FlashVars=" + vars, "Loop=0",
                           "Movie=" + h.config.appDir + "flvplayer.swf", "Loop=0"}));
}

TEST(Playback, AudioOpensThePageAndThePlayer) {
    Harness h;
    h.root.write("Client/Caches/23/21.mp3", "ID3");
    h.root.write("Client/Config/platform.ini",
                 "[Info]\n10=http://site.test/Mp3PageHtml/Mp3PageHtml\n");
    TfrmMain& w = h.create();
    click(w, kAudioA);
    // Unreachable page: probed twice, then the installation's offline page.
    EXPECT_EQ(h.probe.callCount("http://site.test/Mp3PageHtml/Mp3PageHtml_23.html"), 2);
    EXPECT_EQ(h.pane("wbMp3").navigations().last().address,
              h.config.appDir + "../Resource/Html/offline/mp3.htm");
    FakeMediaPlayer* player = h.media.latest();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->fileName, h.root.file("Client/Caches/23/21.mp3"));
    ASSERT_GE(player->log.size(), 2u);
    EXPECT_EQ(player->log[player->log.size() - 2], "open");
    EXPECT_EQ(player->log.back(), "play");
}

TEST(Playback, PanesWaitForTheSitesAnswerWithoutHoldingTheWindow) {
    HeldUrlProbe site;
    Harness h(site);
    h.root.write("Client/Caches/23/21.mp3", "ID3");
    h.root.write("Client/Config/platform.ini",
                 "[Info]\n10=http://site.test/Mp3PageHtml/Mp3PageHtml\n"
                 "14=http://site.test/ad/StatusBar.html\n");
    TfrmMain& w = h.create();
    FakeWebPane& bottom = h.pane("wbBottom");
    ASSERT_EQ(site.openQuestions().size(), 2); // both site panes asked, none navigated yet
    EXPECT_TRUE(bottom.navigations().isEmpty());
    site.answerOldest(true);
    site.answerOldest(false);
    EXPECT_EQ(bottom.navigations().size(), 1) << "a yes navigates the pane";

    const QString page = "http://site.test/Mp3PageHtml/Mp3PageHtml_23.html";
    FakeWebPane& mp3 = h.pane("wbMp3");
    const auto mp3Navigations = mp3.navigations().size();
    click(w, kAudioA);
    EXPECT_EQ(h.media.latest()->log.back(), "play") << "the song starts while the site is asked";
    EXPECT_EQ(site.openQuestions(), QStringList{page});
    site.answerOldest(false);
    EXPECT_EQ(site.openQuestions(), QStringList{page}) << "asked again after a first no";
    EXPECT_EQ(mp3.navigations().size(), mp3Navigations);
    site.answerOldest(false);
    EXPECT_EQ(mp3.navigations().last().address,
              h.config.appDir + "../Resource/Html/offline/mp3.htm");

    // An answer that comes after another programme has started is stale.
    click(w, kAudioA);
    click(w, kFlashB);
    site.answerOldest(true);
    EXPECT_EQ(mp3.navigations().last().address,
              h.config.appDir + "../Resource/Html/offline/mp3.htm");
}

TEST(Playback, LeavingAudioReleasesThePlayerAndAdvancesTheGeneration) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, kAudioA); // FrameMP1 plays
    ASSERT_EQ(h.media.latest()->name(), "FrameMP1");
    click(w, kFlashB); // a playing device is stopped and ejected, the control stays
    EXPECT_EQ(w.audioPlayerGen(), 2);
    EXPECT_EQ(h.media.liveCount(), 1);
    EXPECT_EQ(h.media.latest()->log.back(), "eject");
    EXPECT_EQ(h.media.latest()->name(), "FrameMP1");

    click(w, kAudioA);
    h.media.latest()->modeValue = MediaMode::Stopped; // ended by itself
    click(w, kFlashB);                                // not playing: destroyed and made anew
    EXPECT_EQ(w.audioPlayerGen(), 3);
    EXPECT_EQ(h.media.liveCount(), 1);
    EXPECT_EQ(h.media.latest()->name(), "FrameMP3");
}

TEST(Playback, AFailedRequestLeavesTheTimerOffAndTheStateLoading) {
    Harness h;
    h.writeCatalogue(23, "<r><e type='1' id='abc' pid='' name='x'/></r>");
    TfrmMain& w = h.create();
    ASSERT_TRUE(w.selectNode(0));
    EXPECT_NO_THROW(w.tv1Click());
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].text, "'abc' is not a valid integer value");
    EXPECT_FALSE(playListTimer(w).isActive());
    EXPECT_EQ(w.transportBar().statusText(), "正在装载,请稍等");
}

TEST(Playback, RefusedProgrammePlaysTheUnchangedAddress) {
    Harness h;
    h.engine.programResult = false;
    TfrmMain& w = h.create();
    click(w, kFlashB);
    EXPECT_EQ(h.flash.movie(), "");
    EXPECT_TRUE(playListTimer(w).isActive());
}

TEST(Playback, ReplayWithoutAProgrammeDoesNothing) {
    Harness h;
    TfrmMain& w = h.create();
    w.ReplayClick();
    EXPECT_FALSE(w.curPlay());
    EXPECT_FALSE(playListTimer(w).isActive());
}

TEST(Playlist, FlashTickShowsTimeAndMovesOnAtTheEnd) {
    Harness h;
    h.root.write("Client/Caches/23/11.swf", "FWS");
    TfrmMain& w = h.create();
    click(w, kFlashB);
    h.flash.ready = FlashReadyState::Complete;
    h.flash.frames = 120;
    h.flash.frame = 30;
    h.flash.playing = true;
    w.TimerPlayListTimer();
    EXPECT_EQ(w.transportBar().statusText(), "正在播放");
    EXPECT_EQ(w.transportBar().timeText(),
              "00:02/00:10"); // 12 frames a second; 2.5 s goes to the even 2
    EXPECT_EQ(w.transportBar().loadWidth(), TransportBar::kLoadBar.width - 2); // a local file
    EXPECT_EQ(w.curPlay()->id, "11");
    h.flash.frame = 101;
    w.TimerPlayListTimer();
    EXPECT_EQ(w.curPlay()->id, "12"); // mode "0": the next programme of the category
}

TEST(Playlist, FlashTickWaitsForTheWholeMovie) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, kFlashB);
    h.flash.ready = FlashReadyState::Interactive;
    h.flash.frames = 10;
    h.flash.frame = 9;
    w.TimerPlayListTimer();
    EXPECT_EQ(w.curPlay()->id, "11");
}

TEST(Playlist, AudioOfZeroSecondsNeverAdvances) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, kAudioA);
    for (int i = 0; i < 3; ++i)
        w.TimerPlayListTimer();
    EXPECT_EQ(w.curPlay()->id, "21");
    h.media.latest()->lengthMs = 5000;
    h.media.latest()->positionMs = 5000;
    w.TimerPlayListTimer();
    EXPECT_EQ(w.transportBar().timeText(), "00:05/00:05");
    // Mode "0": the next node of the category, here the folder 复韵母, which the click opens.
    EXPECT_EQ(w.selectedNode(), 5);
    EXPECT_EQ(w.curPlay()->id, "21");
}

TEST(Playlist, VideoStateDrivesThePlayState) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, kVideoP);
    h.flash.replies[invoke("getPlayState")] = "<number>2</number>";
    w.TimerPlayListTimer();
    EXPECT_EQ(w.transportBar().statusText(), "暂停中");
    h.flash.replies[invoke("getPlayState")] = "<number>1</number>";
    h.flash.replies[invoke("getDuration")] = "<number>75.2</number>";
    h.flash.replies[invoke("getPosition")] = "<number>12.5</number>";
    h.engine.progPercent = 30;
    w.TimerPlayListTimer();
    EXPECT_EQ(w.transportBar().statusText(), "正在播放");
    EXPECT_EQ(w.transportBar().timeText(), "00:12/01:15");
    // Played 12 of 75 s is 16 %, the engine has 30 %: the larger one shows.
    EXPECT_EQ(w.transportBar().loadWidth(), 172); // 30 % of 575 is 172.5: halves go to even
    h.flash.replies[invoke("getPlayState")] = "<number>0</number>";
    w.TimerPlayListTimer();
    EXPECT_EQ(w.curPlay()->id, "11"); // ended: back to the first of the category
}

TEST(Playlist, OrderModeShowsTheNoticeOncePerEnding) {
    Harness h;
    h.writeLocalIni("[Info]\n11=1\n");
    TfrmMain& w = h.create();
    click(w, kVideoP); // the last programme of its category
    h.flash.replies[invoke("getPlayState")] = "<number>0</number>";
    for (int i = 0; i < 4; ++i)
        w.TimerPlayListTimer();
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].text, "节目列表按顺序播放完成!");
    EXPECT_EQ(w.curPlay()->id, "12");
    click(w, kVideoP); // played again: it may end again
    w.TimerPlayListTimer();
    EXPECT_EQ(h.dialogs.shown.size(), 2u);
}

TEST(Playlist, RepeatAndRandomModes) {
    Harness h;
    h.writeLocalIni("[Info]\n11=2\n");
    TfrmMain& w = h.create();
    click(w, kFlashB);
    ASSERT_TRUE(w.playNext(true));
    EXPECT_EQ(w.curPlay()->id, "11"); // repeat
    w.setPlayMode("3");
    w.setRandomSource(std::make_unique<FixedRandom>(0)); // draws the current one first
    ASSERT_TRUE(w.playNext(true));
    EXPECT_EQ(w.curPlay()->id, "12"); // never the current one
    EXPECT_EQ(h.iniValue("11"), "3");
    EXPECT_EQ(w.transportBar().playMode(), 3);
}

TEST(Playlist, NextAndPreviousButtons) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, kFlashB);
    w.btnPreClick(); // from the first of the category to its last
    EXPECT_EQ(w.curPlay()->id, "12");
    w.btnNextClick(); // past the last: the first again
    EXPECT_EQ(w.curPlay()->id, "11");
    EXPECT_EQ(h.config.currentNodeIndex, kFlashB);
}

TEST(Playlist, LoadBarFollowsTheEngineForDownloads) {
    Harness h;
    h.engine.progPercent = 40;
    TfrmMain& w = h.create();
    click(w, kFlashB);
    w.updateLoadBar(10, 0); // no total: nothing
    EXPECT_EQ(w.transportBar().loadWidth(), 0);
    w.updateLoadBar(10, 100);
    EXPECT_EQ(w.transportBar().loadWidth(), 230);
    w.updateLoadBar(50, 100); // played beyond what arrived
    EXPECT_EQ(w.transportBar().loadWidth(), 288);
    h.engine.progResult = false;
    w.updateLoadBar(90, 100); // the engine does not know it: unchanged
    EXPECT_EQ(w.transportBar().loadWidth(), 288);
    EXPECT_EQ(w.FlvCurDownloadPercent("x"), -1);
}
