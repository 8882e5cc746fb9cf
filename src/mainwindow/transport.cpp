// The transport bar: play and pause, seeking with the knob and the load bar, volume.
#include "mainwindow.h"
#include "transportbar.h"
#include "volume.h"

namespace lumora {

void TfrmMain::btnPlayClick() {
    if (!m_player)
        return;
    try {
        if (m_transport->playState() == PlayState::Stopped) {
            // The replay's failure is dropped like any other of this button.
            if (m_curPlay)
                (void)playProgramme(m_curPlay);
            return;
        }
        const bool pause = m_transport->offersPause();
        m_player->playPause(pause);
        setPlayState(pause ? PlayState::Paused : PlayState::Playing);
    } catch (const std::exception&) {
        // The player did not take the command; the next tick shows its real state.
    }
}

void TfrmMain::pnlPlayPosMouseDown(int x) {
    m_seekDrag.active = true;
    m_seekDrag.startX = x;
}

void TfrmMain::pnlPlayPosMouseUp() {
    m_seekDrag.active = false;
}

void TfrmMain::pnlPlayPosMouseMove(int x) {
    if (!m_seekDrag.active)
        return;
    m_transport->dragKnobBy(x - m_seekDrag.startX);
}

void TfrmMain::pnlLoadPercentMouseDown(int x) {
    if (!m_player)
        return;
    const bool playing = m_transport->offersPause();
    const std::optional<PlayerReading> reading = m_player->seekable();
    if (!reading || !reading->total)
        return;
    if (reading->state)
        setPlayState(*reading->state);
    const int total = *reading->total;
    m_transport->centreKnobAt(x);
    const int position = m_transport->knobPosition(total);
    updateLoadBar(position, total);
    if (m_player->isTrack())
        m_transport->placeKnob(position, total);
    m_player->seek(position, playing);
    if (!m_player->isTrack())
        showTimes(position, total, m_player->unit());
}

void TfrmMain::btnSoundClick() {
    try {
        if (m_transport->soundOn()) {
            m_services.volume.write(0);
        } else {
            const std::uint32_t level = std::uint32_t(m_transport->volumeLevel());
            m_services.volume.write((level << 8) | (level << 24));
        }
        m_transport->setSoundOn(!m_transport->soundOn());
    } catch (const std::exception&) {
        // The volume stays as it was.
    }
}

void TfrmMain::imgSoundMouseMove() {
    m_transport->showVolume();
}

void TfrmMain::pnlPlayFlvMouseMove() {
    m_transport->hideVolume();
}

} // namespace lumora
