// The hidden audio player and the program's volume.
#include "mainwindow.h"
#include "mediaplayer.h"
#include "transportbar.h"
#include "volume.h"

namespace lumora {

void TfrmMain::createAudioPlayer() {
    if (m_audioPlayer)
        return;
    m_audioPlayer = m_services.media.create(this);
    m_audioPlayer->setName(QStringLiteral("FrameMP") + QString::number(m_audioPlayerGen));
}

void TfrmMain::releaseAudioPlayer() {
    if (!m_audioPlayer)
        return;
    try {
        if (m_audioPlayer->mode() == MediaMode::Playing) {
            // A playing device is stopped and ejected; the control itself stays.
            m_audioPlayer->stop();
            m_audioPlayer->eject();
        } else {
            m_audioPlayer.reset();
        }
        ++m_audioPlayerGen;
    } catch (const std::exception&) {
        // The player could not be released; the next name stays the same.
    }
}

void TfrmMain::CloseMp3() {
    releaseAudioPlayer();
    createAudioPlayer();
}

void TfrmMain::readSystemVolume() {
    const std::uint32_t volume = m_services.volume.read();
    m_transport->setVolumeLevel(int(volume >> 24)); // a change runs TrackBar2Change
}

void TfrmMain::TrackBar2Change() {
    const std::uint32_t level = std::uint32_t(m_transport->volumeLevel());
    m_services.volume.write((level << 8) | (level << 24));
}

} // namespace lumora
