// The transport bar: play and pause, seeking with the knob and the load bar, volume.
#include "flashcontrol.h"
#include "flvplayer.h"
#include "mainwindow.h"
#include "mediaplayer.h"
#include "rounding.h"
#include "volume.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace lumora {

void TfrmMain::btnPlayClick() {
    if (!m_curPlay)
        return;
    try {
        const int tag = btnPlay->property("tag").toInt();
        if (tag == 2) {
            ReplayClick();
            return;
        }
        const bool pause = tag == 0;
        const QString& type = m_curPlay->type;
        if (type == ProgrammeType::Video)
            flvPlayPause(m_services.flash);
        else if (type == ProgrammeType::Flash)
            pause ? m_services.flash.stop() : m_services.flash.play();
        else if (type == ProgrammeType::Audio && m_audioPlayer)
            pause ? m_audioPlayer->pause() : m_audioPlayer->play();
        setPlayState(pause ? 2 : 1);
    } catch (const std::exception&) {
        // The player did not take the command; the next tick shows its real state.
    }
}

void TfrmMain::pnlPlayPosMouseDown(int x) {
    m_seekDragging = true;
    m_dragStartX = x;
}

void TfrmMain::pnlPlayPosMouseUp() {
    m_seekDragging = false;
}

void TfrmMain::pnlPlayPosMouseMove(int x) {
    if (!m_seekDragging)
        return;
    const int barLeft = pnlLoadAll->x();
    const int loaded = pnlLoadPercent->width();
    int left = pnlPlayPos->x() + x - m_dragStartX;
    if (left < barLeft)
        left = barLeft;
    else if (left > barLeft + loaded)
        left = barLeft + loaded - pnlPlayPos->width(); // never past what has arrived
    pnlPlayPos->move(left, pnlPlayPos->y());
}

void TfrmMain::centreKnobAt(int x) {
    const int half = roundHalfEven(pnlPlayPos->width() / 2.0).value_or(0);
    pnlPlayPos->move(x + pnlLoadAll->x() - half, pnlPlayPos->y());
}

void TfrmMain::pnlLoadPercentMouseDown(int x) {
    if (!m_curPlay)
        return;
    const QString& type = m_curPlay->type;
    const bool playing = btnPlay->property("tag").toInt() == 0;
    FlashControl& flash = m_services.flash;
    if (type == ProgrammeType::Audio && m_audioPlayer) {
        const int total = roundHalfEven(m_audioPlayer->length() / 1000.0).value_or(0);
        centreKnobAt(x);
        const int position = knobPosition(total);
        updateLoadBar(position, total);
        moveKnob(position, total);
        m_audioPlayer->seek(std::int64_t(position) * 1000);
        if (playing)
            m_audioPlayer->play();
    } else if (type == ProgrammeType::Video) {
        const int state = flvGetPlayState(flash);
        if (state != 1 && state != 2)
            return;
        setPlayState(1);
        const int total = flvGetDuration(flash);
        centreKnobAt(x);
        const int position = knobPosition(total);
        updateLoadBar(position, total);
        flvSeek(flash, position);
        showTimes(position, total);
    } else if (type == ProgrammeType::Flash) {
        if (flash.readyState() != FlashControl::kReadyStateLoaded)
            return;
        const int total = flash.totalFrames();
        centreKnobAt(x);
        const int position = knobPosition(total);
        updateLoadBar(position, total);
        flash.gotoFrame(position);
        if (playing)
            flash.play();
        showFrameTimes(position, total);
    }
}

void TfrmMain::btnSoundClick() {
    try {
        if (m_soundOn) {
            m_services.volume.write(0);
            m_soundOn = false;
            btnSound->setIcon(imageList2(15));
        } else {
            const std::uint32_t level = std::uint32_t(TrackBar2->property("tag").toInt());
            m_services.volume.write((level << 8) | (level << 24));
            m_soundOn = true;
            btnSound->setIcon(imageList2(14));
        }
        TrackBar2->setEnabled(m_soundOn);
    } catch (const std::exception&) {
        // The volume stays as it was.
    }
}

void TfrmMain::imgSoundMouseMove() {
    pnlVolume->show();
}

void TfrmMain::pnlPlayFlvMouseMove() {
    if (pnlVolume->isVisible())
        pnlVolume->hide();
}

} // namespace lumora
