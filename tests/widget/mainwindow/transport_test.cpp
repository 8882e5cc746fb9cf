#include "harness.h"
#include "lxsimage.h"
#include "support/eventwait.h"
#include "transportbar.h"

#include "appeventfilter.h"
#include "captionbar.h"
#include "playerarea.h"
#include "statusstrip.h"
#include "systemmsgholder.h"
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::test;

namespace {

const QString kPlayPause = QStringLiteral(
    "<invoke name=\"sendEvent\"><arguments><string>playpause</string></arguments></invoke>");

// Counts the paint events a widget gets.
class Paints : public QObject {
public:
    explicit Paints(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

QSlider* volumeSlider(TfrmMain& w) {
    return w.findChild<QSlider*>(QStringLiteral("TrackBar2"));
}

} // namespace

TEST(Transport, PlayButtonPausesAndResumesEachKindOfPlayer) {
    Harness h;
    TfrmMain& w = h.create();

    click(w, kFlashB);
    w.setPlayState(PlayState::Playing);
    w.btnPlayClick();
    EXPECT_EQ(h.flash.log.last(), "stop");
    EXPECT_EQ(w.transportBar().statusText(), "暂停中");
    w.btnPlayClick();
    EXPECT_EQ(h.flash.log.last(), "play");
    EXPECT_EQ(w.transportBar().statusText(), "正在播放");

    click(w, kVideoP);
    w.setPlayState(PlayState::Playing);
    w.btnPlayClick();
    w.btnPlayClick();
    EXPECT_EQ(h.flash.calls.count(kPlayPause), 2);

    click(w, kAudioA);
    w.setPlayState(PlayState::Playing);
    w.btnPlayClick();
    EXPECT_EQ(h.media.latest()->modeValue, MediaMode::Paused);
    w.btnPlayClick();
    EXPECT_EQ(h.media.latest()->modeValue, MediaMode::Playing);
}

TEST(Transport, StoppedStateMakesThePlayButtonReplay) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, kFlashB);
    w.setPlayState(PlayState::Stopped);
    EXPECT_EQ(w.transportBar().findChild<QPushButton*>("btnPlay")->toolTip(), "重播");
    h.flash.log.clear();
    w.btnPlayClick();
    EXPECT_TRUE(h.flash.log.contains("Movie=" + h.flash.movie()));
    EXPECT_EQ(w.transportBar().statusText(), "正在装载,请稍等");
}

// The playlist's tick shows the state every second: nothing is drawn for a state shown again.
TEST(Transport, TheSameStateShownAgainDrawsNothing) {
    Harness h;
    TfrmMain& w = h.create();
    w.show();
    auto* play = w.transportBar().findChild<QPushButton*>("btnPlay");
    w.setPlayState(PlayState::Playing);
    settle(50);
    Paints paints(play);
    w.setPlayState(PlayState::Playing);
    settle(50);
    EXPECT_EQ(paints.count, 0);
    w.setPlayState(PlayState::Paused);
    settle(50);
    EXPECT_GT(paints.count, 0);
}

TEST(Transport, KnobCannotBeDraggedPastTheLoadedPart) {
    Harness h;
    TfrmMain& w = h.create();
    TransportBar& bar = w.transportBar();
    bar.setLoadPercent(17); // 97.75 pixels of 575: 98
    const int barLeft = TransportBar::kLoadBar.left;
    w.pnlPlayPosMouseMove(50); // not dragging: nothing
    EXPECT_EQ(bar.knobLeft(), barLeft);
    w.pnlPlayPosMouseDown(3);
    w.pnlPlayPosMouseMove(53);
    EXPECT_EQ(bar.knobLeft(), barLeft + 50);
    EXPECT_EQ(bar.findChild<QFrame*>("pnlPlayPos")->x(), barLeft + 50);
    w.pnlPlayPosMouseMove(500);
    EXPECT_EQ(bar.knobLeft(), barLeft + 98 - 6);
    w.pnlPlayPosMouseMove(-500);
    EXPECT_EQ(bar.knobLeft(), barLeft);
    w.pnlPlayPosMouseUp();
    w.pnlPlayPosMouseMove(50); // released: nothing
    EXPECT_EQ(bar.knobLeft(), barLeft);
}

TEST(Transport, ClickOnTheLoadBarOfPausedAudioSeeksWithoutPlaying) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, kAudioA);
    FakeMediaPlayer& player = *h.media.latest();
    player.lengthMs = 100000;
    w.setPlayState(PlayState::Paused);
    player.modeValue = MediaMode::Paused;
    player.log.clear();
    w.pnlLoadPercentMouseDown(287); // the middle of a 575-pixel bar
    ASSERT_FALSE(player.log.empty());
    EXPECT_EQ(player.log.back(), "seek 50000");
    EXPECT_EQ(player.modeValue, MediaMode::Paused);
}

TEST(Transport, MuteDisablesTheSliderAndUnmuteRestoresItsLevel) {
    Harness h;
    TfrmMain& w = h.create();
    w.transportBar().setVolumeLevel(100);
    EXPECT_EQ(h.volume.read(), (100u << 8) | (100u << 24));
    w.btnSoundClick();
    EXPECT_FALSE(w.transportBar().soundOn());
    EXPECT_FALSE(volumeSlider(w)->isEnabled());
    EXPECT_EQ(h.volume.read(), 0u);
    h.volume.write(0x12341234); // changed from outside while muted
    w.btnSoundClick();
    EXPECT_TRUE(w.transportBar().soundOn());
    EXPECT_TRUE(volumeSlider(w)->isEnabled());
    EXPECT_EQ(h.volume.read(), (100u << 8) | (100u << 24));
}

TEST(Transport, SliderAtTheTopIsTheFullLevelOnBothChannels) {
    Harness h;
    TfrmMain& w = h.create();
    volumeSlider(w)->setValue(10);
    volumeSlider(w)->setValue(0);
    EXPECT_EQ(h.volume.read() & 0xFFFF, 65280u);
    EXPECT_EQ(h.volume.read() >> 16, 65280u);
    volumeSlider(w)->setValue(255);
    EXPECT_EQ(h.volume.read(), 0u);
}

TEST(Transport, VolumeIsReadAtSetUp) {
    Harness h;
    h.volume.write((200u << 8) | (200u << 24));
    TfrmMain& w = h.create();
    EXPECT_EQ(volumeSlider(w)->value(), 55);
    EXPECT_EQ(w.transportBar().volumeLevel(), 200);
}

TEST(FullScreen, AudioCannotGoFullScreen) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, kAudioA);
    w.sbtnFullScreenClick();
    ASSERT_FALSE(h.dialogs.shown.empty());
    EXPECT_EQ(h.dialogs.shown.back().text, "音频文件不能全屏!");
    EXPECT_EQ(w.fullScreenOn(), 0);
}

TEST(FullScreen, FlashMovieGoesFullScreenAndComesBackToItsSize) {
    Harness h;
    TfrmMain& w = h.create();
    w.show();
    w.limgNorClick();
    w.resize(700, 500);
    w.limgNorClick(); // remembers 700 x 500
    click(w, kFlashB);
    w.sbtnFullScreenClick();
    EXPECT_EQ(w.fullScreenOn(), 1);
    EXPECT_TRUE(part<CaptionBar>(w).isHidden()); // everything but the control steps aside
    EXPECT_TRUE(part<CataloguePanel>(w).isHidden());
    EXPECT_TRUE(part<StatusStrip>(w).isHidden());
    EXPECT_FALSE(part<ExitFullScreenPanel>(w).isHidden());
    EXPECT_EQ(part<ExitFullScreenPanel>(w).pos(), QPoint(10, 10));
    EXPECT_TRUE(w.transportBar().isHidden());
    w.hotKeyMessage(); // Esc
    EXPECT_EQ(w.fullScreenOn(), 0);
    EXPECT_FALSE(part<CaptionBar>(w).isHidden());
    EXPECT_FALSE(part<StatusStrip>(w).isHidden());
    EXPECT_TRUE(part<ExitFullScreenPanel>(w).isHidden());
    EXPECT_FALSE(w.transportBar().isHidden());
    EXPECT_EQ(w.size(), QSize(700, 500));
}

TEST(FullScreen, EscWithoutFullScreenDoesNothing) {
    Harness h;
    TfrmMain& w = h.create();
    click(w, kFlashB);
    w.hotKeyMessage();
    EXPECT_EQ(w.fullScreenOn(), 0);
    EXPECT_EQ(h.flash.widget()->parentWidget(), &named<QWidget>(w, "pnlplayMain"));
}

TEST(Chrome, CaptionDoubleClickRestoresThenMaximises) {
    Harness h;
    TfrmMain& w = h.create();
    w.show();
    w.imgTcDblClick();
    EXPECT_FALSE(w.isMaximized());
    EXPECT_EQ(w.size(), QSize(823, 592)); // the design size it had before
    EXPECT_EQ(w.restoreWidth(), w.width());
    EXPECT_EQ(w.restoreHeight(), w.height());
    EXPECT_FALSE(part<CaptionBar>(w).maximised());
    w.imgTcDblClick();
    EXPECT_TRUE(w.isMaximized());
    EXPECT_TRUE(part<CaptionBar>(w).maximised());
}

TEST(Chrome, TreeScrollBarAppearsOnlyWhenTheRowsOverflowAt28Pixels) {
    Harness h;
    QByteArray xml = "<r><e type='0' id='1' pid='' name='f'/>";
    for (int i = 0; i < 60; ++i)
        xml += QStringLiteral("<e type='1' id='%1' pid='1' name='p%1'/>").arg(i + 2).toUtf8();
    h.writeCatalogue(23, xml + "</r>");
    TfrmMain& w = h.create();
    w.showNormal();
    w.resize(823, 592);
    w.FormResize();
    QWidget* bar = catalogueWidget<QWidget>(w, "pnlScroll");
    EXPECT_EQ(part<CataloguePanel>(w).scrollRows(), 61); // the open folder and its 60 programmes
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->x(), catalogueWidget<QWidget>(w, "pnlFuncTree")->width() - 13);
    QLabel* thumbTop = catalogueWidget<QLabel>(w, "imgScrollTop2");
    EXPECT_EQ(thumbTop->y(), 8); // the top row shows: the thumb at the top
    // Dragging the thumb down scrolls the tree.
    QLabel* thumb = catalogueWidget<QLabel>(w, "imgScrollMiddle2");
    for (auto [type, y] : {std::pair{QEvent::MouseButtonPress, 2},
                           {QEvent::MouseMove, 102},
                           {QEvent::MouseButtonRelease, 102}}) {
        QMouseEvent event(type, QPointF(5, y), thumb->mapToGlobal(QPointF(5, y)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(thumb, &event);
    }
    EXPECT_GT(thumbTop->y(), 8);
    const QTreeView* tree = catalogueWidget<QTreeView>(w, "tv1");
    EXPECT_GT(tree->indexAt(QPoint(0, 0)).data(kTreeIndexRole).toInt(), 0);
    ASSERT_TRUE(w.selectNode(0));
    w.tv1Click(); // the folder closes: one row left
    w.tv1MouseUp();
    EXPECT_EQ(part<CataloguePanel>(w).scrollRows(), 1);
    EXPECT_TRUE(bar->isHidden());
}

TEST(Chrome, NewsIsTriedThreeMinutesAfterStartAndPopsUpWithoutCache) {
    Harness h;
    h.root.write("Client/Config/platform.ini", "[Info]\n11=http://site.test/mini_index.html\n");
    h.probe.setReachable("http://site.test/mini_index.html", true);
    TfrmMain& w = h.create();
    EXPECT_TRUE(systemMsgTimer(w).isActive());
    EXPECT_EQ(systemMsgTimer(w).interval(), 60000);
    const qsizetype panesBefore = h.webPanes.panes().size();
    w.TimerSystemMsgTimer();
    w.TimerSystemMsgTimer();
    EXPECT_EQ(w.systemMessages().current(), nullptr);
    w.TimerSystemMsgTimer(); // minute 3
    ASSERT_NE(w.systemMessages().current(), nullptr);
    ASSERT_EQ(h.webPanes.panes().size(), panesBefore + 1);
    FakeWebPane* pane = h.webPanes.panes().last();
    EXPECT_EQ(pane->navigations().last().address, "http://site.test/mini_index.html");
    EXPECT_EQ(pane->navigations().last().flags, 12);
    // Right clicks in the pop-up's page are swallowed like those in the window's panes.
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    EXPECT_TRUE(w.applicationEvents().swallows(pane->widget(), &right));
}

TEST(Chrome, NewsWaitsWhileTheProgrammeIsFullScreen) {
    Harness h;
    h.root.write("Client/Config/platform.ini", "[Info]\n11=http://site.test/mini_index.html\n");
    h.probe.setReachable("http://site.test/mini_index.html", true);
    TfrmMain& w = h.create();
    ASSERT_TRUE(w.selectNode(kVideoP));
    w.tv1Click();
    w.sbtnFullScreenClick();
    h.flash.setFullScreen(true); // the player movie takes the screen
    for (int i = 0; i < 5; ++i)
        w.TimerSystemMsgTimer();
    EXPECT_EQ(w.systemMessages().current(), nullptr);
    EXPECT_EQ(w.systemMsgTicks(), 2); // held back at the slot
    h.flash.setFullScreen(false);
    w.TimerSystemMsgTimer();
    EXPECT_NE(w.systemMessages().current(), nullptr);
}
