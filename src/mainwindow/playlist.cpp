// The playlist: the one-second tick, the play state and the moves to another programme.
#include "playlist.h"
#include "config.h"
#include "dialogs.h"
#include "engine.h"
#include "flashcontrol.h"
#include "flvplayer.h"
#include "inistore.h"
#include "mainwindow.h"
#include "mediaplayer.h"
#include "rounding.h"
#include "seekbar.h"
#include "texts.h"
#include "timetext.h"

#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace lumora {
namespace {

struct PlayStateRow {
    bool enabled;
    const char* hint;
    int tag;
    int picture; // in ImageList2
    const char* status;
};

// Play states 1 playing, 2 paused, 3 stopped, 4 loading.
constexpr PlayStateRow kPlayStates[] = {
    {true, "暂停", 0, 9, "正在播放"},
    {true, "继续播放", 1, 8, "暂停中"},
    {true, "重播", 2, 8, "已停止"},
    {false, "暂停", 0, 9, "正在装载,请稍等"},
};

Span spanOf(const QWidget* w) {
    return {w->x(), w->width()};
}

// Frames at the fixed rate of 12 a second as whole seconds.
int frameSeconds(int frames) {
    return roundHalfEven(frames / 12.0).value_or(0);
}

} // namespace

void TfrmMain::setPlayState(int n) {
    if (n < 1 || n > 4)
        return;
    const PlayStateRow& row = kPlayStates[n - 1];
    btnPlay->setEnabled(row.enabled);
    btnPlay->setToolTip(QString::fromUtf8(row.hint));
    btnPlay->setProperty("tag", row.tag);
    btnPlay->setIcon(imageList2(row.picture));
    lblStatus->setText(QString::fromUtf8(row.status));
    if (n == 4)
        pnlPlayFlv->show();
}

int TfrmMain::FlvCurDownloadPercent(const QString& text) {
    try {
        bool ok = false;
        const std::int32_t number = std::int32_t(text.toUInt(&ok));
        std::int32_t percent = 0;
        if (!ok || !m_services.engine.GetProgInfo(number, percent))
            return -1;
        return percent;
    } catch (const std::exception&) {
        return -1;
    }
}

void TfrmMain::updateLoadBar(int position, int total) {
    if (total == 0)
        return;
    Span load = spanOf(pnlLoadPercent);
    const Span bar = spanOf(pnlLoadAll);
    if (m_isLocalFile) {
        setLoadBar(100, load, bar);
    } else {
        const int answer =
            FlvCurDownloadPercent(QString::number(std::uint32_t(m_curPlay->engineNo)));
        if (answer == -1)
            return;
        const int played = roundHalfEven(position * 100.0 / total).value_or(0);
        setLoadBar(played > answer ? played : answer, load, bar);
    }
    pnlLoadPercent->resize(load.width, pnlLoadPercent->height());
}

void TfrmMain::moveKnob(int position, int total) {
    Span knob = spanOf(pnlPlayPos);
    placeKnob(position, total, knob, spanOf(pnlLoadAll));
    pnlPlayPos->move(knob.left, pnlPlayPos->y());
}

int TfrmMain::knobPosition(int total) const {
    return knobToPosition(total, spanOf(pnlPlayPos), spanOf(pnlLoadAll));
}

void TfrmMain::showTimes(int position, int total) {
    if (total != 0)
        lblTime->setText(formatSeconds(position) + QLatin1Char('/') + formatSeconds(total));
}

void TfrmMain::showFrameTimes(int position, int total) {
    if (total != 0) // a frame count; a few frames are still a movie with a length of 0 s
        lblTime->setText(formatSeconds(frameSeconds(position)) + QLatin1Char('/') +
                         formatSeconds(frameSeconds(total)));
}

void TfrmMain::TimerPlayListTimer() {
    if (!m_curPlay)
        return;
    try {
        if (m_curPlay->type == ProgrammeType::Flash)
            tickFlash();
        else if (m_curPlay->type == ProgrammeType::Audio)
            tickAudio();
        else if (m_curPlay->type == ProgrammeType::Video)
            tickVideo();
    } catch (const std::exception&) {
        // A player that fails to answer is asked again on the next tick.
    }
}

void TfrmMain::tickFlash() {
    FlashControl& flash = m_services.flash;
    if (flash.readyState() != FlashControl::kReadyStateLoaded)
        return;
    if (flash.isPlaying())
        setPlayState(1);
    const int total = flash.totalFrames();
    int position = 0;
    if (m_seekDragging) {
        position = knobPosition(total);
        updateLoadBar(position, total);
        flash.gotoFrame(position);
        flash.play();
    } else {
        position = flash.currentFrame();
        updateLoadBar(position, total);
        moveKnob(position, total);
    }
    showFrameTimes(position, total);
    if (isFlashMovieEnded(flash.currentFrame(), total))
        playNext(true);
}

bool TfrmMain::isFlashMovieEnded(int frameNum, int total) {
    // FrameNum counts from 0, so a short movie has ended on its last frame, total - 1: compared
    // with total itself it would never end.
    return total >= 50 ? total - frameNum < 20 : frameNum + 1 == total;
}

void TfrmMain::tickAudio() {
    if (!m_audioPlayer)
        return;
    MediaPlayer& player = *m_audioPlayer;
    const int total = roundHalfEven(player.length() / 1000.0).value_or(0);
    if (player.mode() == MediaMode::Playing)
        setPlayState(1);
    int position = 0;
    if (m_seekDragging) {
        position = knobPosition(total);
        updateLoadBar(position, total);
        moveKnob(position, total);
        player.seek(std::int64_t(position) * 1000);
        player.play();
    } else {
        position = roundHalfEven(player.position() / 1000.0).value_or(0);
        updateLoadBar(position, total);
        moveKnob(position, total);
        const int played = pnlPlayPos->x() - pnlLoadAll->x();
        if (played > pnlLoadPercent->width())
            pnlLoadPercent->resize(played + 1, pnlLoadPercent->height());
    }
    showTimes(position, total);
    if (position == total && total > 0)
        playNext(true);
}

void TfrmMain::tickVideo() {
    FlashControl& flash = m_services.flash;
    switch (flvGetPlayState(flash)) {
    case 1: {
        setPlayState(1);
        const int total = flvGetDuration(flash);
        int position = 0;
        if (m_seekDragging) {
            position = knobPosition(total);
            updateLoadBar(position, total);
            flvSeek(flash, position);
        } else {
            position = flvGetPosition(flash);
            updateLoadBar(position, total);
            moveKnob(position, total);
        }
        showTimes(position, total);
        return;
    }
    case 0:
        setPlayState(3);
        playNext(true);
        return;
    case 2:
        setPlayState(2);
        return;
    default:
        return;
    }
}

void TfrmMain::selectAndClick(int index) {
    if (selectNode(index))
        tv1Click();
}

void TfrmMain::playNext(bool byMode) {
    const int i = m_config.currentNodeIndex;
    const QString mode = byMode ? m_config.playMode : QString(PlayMode::Loop);
    const std::optional<PlayStep> step = nextByMode(mode, m_tree, i, *m_random);
    if (!step)
        return;
    if (step->kind == PlayStep::Kind::FinishedNotice) {
        // The end stays reached on every tick; one notice per programme that ended.
        if (!m_finishedNoticeShown) {
            m_finishedNoticeShown = true;
            m_services.dialogs.showInfo(CatalogueText::PlaylistFinished);
        }
        return;
    }
    selectAndClick(step->index);
}

void TfrmMain::playPrevious() {
    if (const std::optional<int> previous = previousIndex(m_tree, m_config.currentNodeIndex))
        selectAndClick(*previous);
}

void TfrmMain::btnNextClick() {
    TimerPlayList->stop();
    playNext(false);
}

void TfrmMain::btnPreClick() {
    TimerPlayList->stop();
    playPrevious();
}

void TfrmMain::sbtnPlayModeClick() {
    pMenuPlayMode->popup(QCursor::pos());
}

void TfrmMain::setPlayMode(const QString& mode) {
    writeIniValue(m_config.dataDir + ini::LocalIni, ini::Section, ini::KeyPlayMode, mode);
    m_config.playMode = mode;
    restorePlayModeUi();
}

} // namespace lumora
