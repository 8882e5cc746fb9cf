// The playlist: the one-second tick, the play state and the moves to another programme.
#include "playlist.h"
#include "config.h"
#include "dialogs.h"
#include "engine.h"
#include "failurereport.h"
#include "inistore.h"
#include "mainwindow.h"
#include "rounding.h"
#include "texts.h"
#include "timetext.h"
#include "transportbar.h"
#include "treerules.h"

#include <QCursor>
#include <QTimer>

namespace lumora {
namespace {

// Frames at the fixed rate of 12 a second as whole seconds.
int frameSeconds(int frames) {
    return roundHalfEven(frames / 12.0).value_or(0);
}

} // namespace

void TfrmMain::setPlayState(PlayState state) {
    m_transport->showPlayState(state);
    // Inside the window's full screen the bar comes back only when full screen ends.
    if (state == PlayState::Loading && m_fullScreen.shown != FullScreen::Window)
        m_transport->show();
    emit playStateShown(state);
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
    if (m_isLocalFile) {
        m_transport->setLoadPercent(100);
    } else {
        const int answer =
            FlvCurDownloadPercent(QString::number(std::uint32_t(m_curPlay->engineNo)));
        if (answer == -1)
            return;
        const int played = roundHalfEven(position * 100.0 / total).value_or(0);
        m_transport->setLoadPercent(played > answer ? played : answer);
    }
}

void TfrmMain::showTimes(int position, int total, KnobUnit unit) {
    if (total == 0) // a frame count too: a few frames are still a movie with a length of 0 s
        return;
    if (unit == KnobUnit::Frames) {
        position = frameSeconds(position);
        total = frameSeconds(total);
    }
    m_transport->setTimeText(formatSeconds(position) + QLatin1Char('/') + formatSeconds(total));
    emit timesShown(position, total);
}

void TfrmMain::TimerPlayListTimer() {
    // Every failure inside the tick is dropped: a next programme that cannot start leaves the
    // timer off, as its play does.
    if (m_player)
        (void)tick(*m_player);
}

Done TfrmMain::tick(ProgrammePlayer& player) {
    const std::optional<PlayerReading> reading = player.read();
    if (!reading)
        return {};
    if (reading->state)
        setPlayState(*reading->state);
    int position = 0;
    if (reading->total) {
        const int total = *reading->total;
        if (m_seekDrag.active) {
            position = m_transport->knobPosition(total);
            updateLoadBar(position, total);
            if (player.isTrack())
                m_transport->placeKnob(position, total);
            player.seek(position, true);
        } else {
            position = player.position();
            updateLoadBar(position, total);
            m_transport->placeKnob(position, total);
            if (player.isTrack())
                m_transport->extendLoadToKnob();
        }
        showTimes(position, total, player.unit());
    }
    if (player.ended(*reading, position))
        return playNext(true);
    return {};
}

Done TfrmMain::selectAndClick(int index) {
    if (!selectNode(index))
        return {};
    return openSelectedNode();
}

Done TfrmMain::playNext(bool byMode) {
    // The end stays reached on every tick: a playlist that stopped stays stopped until the next
    // programme plays.
    if (byMode && m_playlistStopped)
        return {};
    const int i = m_config.currentNodeIndex;
    const QString mode = byMode ? m_config.playMode : QString(PlayMode::Loop);
    const std::optional<PlayStep> step = nextByMode(mode, m_tree, i, *m_random);
    if (!step)
        return {};
    if (step->kind == PlayStep::Kind::Select)
        return selectAndClick(step->index);
    m_playlistStopped = true;
    btnExitFullScreenClick(); // nothing follows on screen, and the notice must be seen
    if (step->kind == PlayStep::Kind::FinishedNotice) {
        m_services.dialogs.showInfo(CatalogueText::PlaylistFinished);
    } else if (selectNode(step->index) && !m_tree.isExpanded(step->index)) {
        clickFolder(step->index);
    }
    return {};
}

Done TfrmMain::playPrevious() {
    if (const std::optional<int> previous = previousIndex(m_tree, m_config.currentNodeIndex))
        return selectAndClick(*previous);
    return {};
}

void TfrmMain::btnNextClick() {
    TimerPlayList->stop();
    reportFailure(m_services.dialogs, playNext(false));
}

void TfrmMain::btnPreClick() {
    TimerPlayList->stop();
    reportFailure(m_services.dialogs, playPrevious());
}

void TfrmMain::sbtnPlayModeClick() {
    m_transport->popUpPlayModeMenu(QCursor::pos());
}

void TfrmMain::setPlayMode(const QString& mode) {
    writeIniValue(m_config.dataDir + ini::LocalIni, ini::Section, ini::KeyPlayMode, mode);
    m_config.playMode = mode;
    restorePlayModeUi();
}

} // namespace lumora
