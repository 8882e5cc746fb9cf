// Playing one programme: the player by type, the source by where the file is.
#include "config.h"
#include "flashcontrol.h"
#include "mainwindow.h"
#include "mediaplayer.h"
#include "requests.h"
#include "urlprobe.h"
#include "webpane.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>

namespace lumora {
namespace {

// The rest of the start parameters of the player movie after "file=".
const QString kPlayerMovieVars =
    QStringLiteral("&overstretch=true&showdigits=true&autostart=true&showplayerbar=true"
                   "&callback=true&enablejs=true&streamscript=http://");
const QString kPlayerMovie = QStringLiteral("flvplayer.swf");
const QString kBlankMovie = QStringLiteral("flvplayer.swf?file=0.swf");
const QString kOfflineAudioPage = QStringLiteral("../Resource/Html/offline/mp3.htm");

QString extensionFor(const QString& type) {
    if (type == ProgrammeType::Flash)
        return QStringLiteral(".swf");
    if (type == ProgrammeType::Audio)
        return QStringLiteral(".mp3");
    return QStringLiteral(".flv");
}

// A catalogue id or name that would leave the folder it names a file in is no file there.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0)) && name != ".." &&
           name != ".";
}

bool isTypeChange(const QString& from, const QString& to) {
    using namespace ProgrammeType;
    return (from == Flash && (to == Audio || to == Video)) ||
           (from == Video && (to == Audio || to == Flash));
}

} // namespace

QString TfrmMain::programmeSource(TLumoraPlay& record) {
    const QString ext = extensionFor(record.type);
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
    requestProgramme(record, m_services.engine, m_config.urlDownload);
    m_isLocalFile = false;
    return record.playUrl;
}

void TfrmMain::playProgramme(const LumoraPlayPtr& record) {
    TimerPlayList->stop();
    setPlayState(4);
    pnlLoadPercent->resize(0, pnlLoadPercent->height());
    pnlPlayPos->move(pnlLoadAll->x(), pnlPlayPos->y());
    lblTime->setText(QStringLiteral("00:00/00:00"));
    try {
        if (m_curPlay && m_curPlay->type == ProgrammeType::Audio)
            CloseMp3();
        m_services.flash.setMovie(m_config.appDir + kBlankMovie);
    } catch (const std::exception&) {
        // Whatever played before is left behind; the new programme still starts.
    }
    try {
        if (!pnlExitFullScreen->isHidden() && m_curPlay &&
            isTypeChange(m_curPlay->type, record->type))
            btnExitFullScreenClick();
    } catch (const std::exception&) {
        // Full screen stays; the programme still starts.
    }
    m_curPlay = record;
    m_finishedNoticeShown = false;
    emit programmeStarted();
    startByType(*record); // a failure here leaves the playlist timer off
    TimerPlayList->start();
}

void TfrmMain::startByType(TLumoraPlay& record) {
    FlashControl& flash = m_services.flash;
    if (record.type == ProgrammeType::Flash) {
        flash.setBackgroundColor(0);
        pnlplayMain->setCurrentWidget(flash.widget());
        flash.widget()->raise();
        flash.setScaleMode(FlashControl::kScaleExactFit);
        if (m_fullScreenOn == 1)
            pnlExitFullScreen->raise();
        // Loop goes first as well: the emulator needs it before the movie loads.
        flash.setLoop(false);
        flash.setMovie(programmeSource(record));
        flash.setLoop(false);
    } else if (record.type == ProgrammeType::Audio) {
        pnlplayMain->setCurrentWidget(m_wbMp3->widget());
        m_wbMp3->widget()->setVisible(true);
        navigateWithRetry(m_services.probe,
                          m_config.urlMp3Page + QLatin1Char('_') +
                              QString::number(m_config.currentChannel) + QStringLiteral(".html"),
                          m_config.appDir + kOfflineAudioPage,
                          [this](const QString& address) { m_wbMp3->navigate(address); });
        const QString source = programmeSource(record);
        createAudioPlayer();
        m_audioPlayer->setFileName(source);
        m_audioPlayer->open();
        m_audioPlayer->play();
    } else if (record.type == ProgrammeType::Video) {
        pnlplayMain->setCurrentWidget(flash.widget());
        flash.widget()->raise();
        flash.setFlashVars(QStringLiteral("file=") + programmeSource(record) + kPlayerMovieVars);
        flash.setLoop(false);
        flash.setMovie(m_config.appDir + kPlayerMovie);
        flash.setLoop(false);
    }
}

void TfrmMain::ReplayClick() {
    if (m_curPlay)
        playProgramme(m_curPlay);
}

} // namespace lumora
