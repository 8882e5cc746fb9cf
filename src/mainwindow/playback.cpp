// Playing one programme: the player by type, the source by where the file is.
#include "asyncprobe.h"
#include "config.h"
#include "failurereport.h"
#include "flashcontrol.h"
#include "mainwindow.h"
#include "mediaplayer.h"
#include "playerarea.h"
#include "requests.h"
#include "transportbar.h"
#include "webpane.h"

#include <QFileInfo>
#include <QFrame>
#include <QTimer>
#include <QUrl>

namespace lumora {
namespace {

const QString kPlayerMovie = QStringLiteral("flvplayer.swf");
const QString kBlankMovie = kPlayerMovie + QStringLiteral("?file=0.swf");
const QString kOfflineAudioPage = QStringLiteral("../Resource/Html/offline/mp3.htm");

// A catalogue id or name that would leave the folder it names a file in is no file there.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0)) && name != ".." &&
           name != ".";
}

// Full screen shows one kind of player; the next programme keeps it only when it goes full
// screen the same way.
bool keepsFullScreen(const ProgrammePlayer& from, const ProgrammePlayer& to) {
    const FullScreenWay way = to.fullScreen();
    return from.fullScreen() == way &&
           (way == FullScreenWay::PlayerMovie || way == FullScreenWay::Window);
}

} // namespace

Outcome<QString> TfrmMain::programmeSource(TLumoraPlay& record) {
    const QString ext = m_player->extension();
    const QString cached = m_config.cacheDir + QString::number(m_config.currentChannel) +
                           QLatin1Char('/') + record.id + ext;
    if (isPlainFileName(record.id) && QFileInfo(cached).isFile()) {
        m_isLocalFile = true;
        return cached;
    }
    const QString downloaded = m_config.downloadDir + record.name + ext;
    if (isPlainFileName(record.name + ext) && QFileInfo(downloaded).isFile()) {
        m_isLocalFile = true;
        return downloaded;
    }
    if (const Done requested = requestProgramme(record, m_services.engine, m_config.urlDownload);
        !requested)
        return requested.failure();
    m_isLocalFile = false;
    return record.playUrl;
}

std::unique_ptr<ProgrammePlayer> TfrmMain::playerFor(const TLumoraPlay& record) {
    AudioDevice audio{.current = [this] { return m_audioPlayer.get(); },
                      .create = [this] { createAudioPlayer(); },
                      .close = [this] { CloseMp3(); }};
    return makeProgrammePlayer(record.type, {.flash = m_services.flash,
                                             .audio = std::move(audio),
                                             .playerMovie = m_config.appDir + kPlayerMovie});
}

void TfrmMain::setCurPlay(LumoraPlayPtr record) {
    m_player = record ? playerFor(*record) : nullptr;
    m_curPlay = std::move(record);
}

Done TfrmMain::playProgramme(const LumoraPlayPtr& record) {
    TimerPlayList->stop();
    setPlayState(PlayState::Loading);
    m_transport->resetSeekBar();
    std::unique_ptr<ProgrammePlayer> next = playerFor(*record);
    // Before the player is blanked: the player movie itself answers the request to leave.
    if (m_player && !keepsFullScreen(*m_player, *next))
        btnExitFullScreenClick();
    try {
        if (m_player)
            m_player->leave();
        // The last video's FlashVars would name its file again, over the blank one.
        m_services.flash.setFlashVars(QString());
        m_services.flash.setMovie(m_config.appDir + kBlankMovie);
    } catch (const std::exception&) {
        // Whatever played before is left behind; the new programme still starts.
    }
    m_curPlay = record;
    m_player = std::move(next);
    m_playlistStopped = false;
    emit programmeStarted();
    const Done started = startPlayer(*record);
    if (!started)
        return started; // the playlist timer stays off
    TimerPlayList->start();
    return {};
}

Done TfrmMain::startPlayer(TLumoraPlay& record) {
    const std::uint64_t audioPageAsk = ++m_audioPageAsk; // an older programme's answer is stale
    if (m_player->surface() == PlayerSurface::AudioPage) {
        m_playerArea->showAudioPage();
        navigateWithRetry(m_services.probe,
                          m_config.urlMp3Page + QLatin1Char('_') +
                              QString::number(m_config.currentChannel) + QStringLiteral(".html"),
                          m_config.appDir + kOfflineAudioPage, this,
                          [this, audioPageAsk](const QString& address) {
                              if (audioPageAsk == m_audioPageAsk)
                                  wbMp3().navigate(address);
                          });
    } else {
        m_playerArea->showFlash();
        // Only a Flash movie keeps the window's full screen into the next programme.
        if (m_fullScreen.shown == FullScreen::Window)
            m_exitFullScreen->raise();
    }
    const Outcome<std::optional<PlayState>> state =
        m_player->start([this, &record] { return programmeSource(record); });
    if (!state)
        return state.failure();
    if (*state)
        setPlayState(**state);
    return {};
}

void TfrmMain::ReplayClick() {
    if (m_curPlay)
        reportFailure(m_services.dialogs, playProgramme(m_curPlay));
}

} // namespace lumora
