// Set-up, session start and end of the main window.
#include "mainwindow.h"

#include "captionbar.h"
#include "captions.h"
#include "cataloguepanel.h"
#include "datamodule.h"
#include "edition.h"
#include "engine.h"
#include "failurereport.h"
#include "inistore.h"
#include "mediaplayer.h"
#include "playlist.h"
#include "siteaddress.h"
#include "startup.h"
#include "statusstrip.h"
#include "systemmsgholder.h"
#include "texts.h"
#include "transportbar.h"
#include "webpane.h"
#include "windowsystem.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace lumora {

TfrmMain::TfrmMain(Config& config, MainWindowServices services, QWidget* parent)
    : QWidget(parent), m_config(config), m_services(std::move(services)) {
    if (!m_services.terminate)
        m_services.terminate = [] { QCoreApplication::quit(); };
    m_random = std::make_unique<Mt19937RandomSource>(
        std::uint32_t(QDateTime::currentMSecsSinceEpoch())); // seeded from the clock
    buildComponents();
    // The native window exists even while hidden, so a second copy can find it.
    m_services.windows.setWindowClass(NativeWindow(winId()),
                                      QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                                      kMainWindowClass);
    FormCreate();
    TimerSystemMsg->start(); // enabled from the start
}

TfrmMain::~TfrmMain() {
    FormDestroy();
}

void TfrmMain::setRandomSource(std::unique_ptr<RandomSource> random) {
    m_random = std::move(random);
}

void TfrmMain::FormCreate() {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // As for any handler: the set-up stops where it failed and the window goes on.
    reportFailure(m_services.dialogs, initMainWindow());
    if (m_config.hideOnStart)
        startSession(); // the window is not shown, so FormShow would not run it
}

Done TfrmMain::initMainWindow() {
    maximise();
    m_isMaximized = true;
    m_captionBar->setMaximised(true);
    countStart(m_config);
    applyEditionCaptions();
    pnlFunALl->setSearchText(CatalogueText::SearchPlaceholder);
    PageControl1->tabBar()->hide();
    PageControl1->setCurrentWidget(TabSheet1);
    if (m_tree.count() > 0)
        pnlFunALl->scrollTo(0);
    if (m_config.editionCode != 0) {
        m_config.currentChannel = m_config.editionCode;
        if (const Done loaded = reloadCatalogue(); !loaded)
            return loaded;
        loadRememberedProgramme();
    }
    m_services.engine.Initlumora(
        m_config.clientCode,
        [this](std::int32_t id, std::int32_t percent) { engineProgress(id, percent); });
    m_statusStrip->setVersionText(Caption::VersionLabel + m_services.versionString);
    m_audioPlayerGen = 1;
    createAudioPlayer();
    restorePlayModeUi();
    readSystemVolume();
    if (!m_config.urlOnlineService.isEmpty())
        m_statusStrip->showOnlineService();
    showSitePane(
        wbBottom(), [this](bool shown) { m_statusStrip->showAds(shown); },
        m_config.urlStatusBarAd = insertEditionCode(m_config.urlStatusBarAd, m_config.editionCode));
    showSitePane(
        pnlFunALl->adsPane(), [this](bool shown) { pnlFunALl->showAds(shown); },
        m_config.urlChannelAds = insertEditionCode(m_config.urlChannelAds, m_config.editionCode));
    return {};
}

void TfrmMain::applyEditionCaptions() {
    m_captionBar->setFixedHeight(20);
    const Edition& edition = editionFor(m_config.editionCode);
    setWindowTitle(QString::fromUtf8(edition.caption));
    m_captionBar->setTitle(QString::fromUtf8(edition.header));
    if (m_config.editionCode == 21)
        m_captionBar->setHint(QString::fromUtf8(kPinyinHint));
    if (!isChannelEdition(m_config.editionCode))
        m_config.editionCode = 0;
}

void TfrmMain::loadRememberedProgramme() {
    const Outcome<QString> text = readIniValue(m_config.localIniPath, ini::SectionRead,
                                               QString::number(m_config.currentChannel));
    const Outcome<int> index = text ? toIniInteger(*text) : Outcome<int>(text.failure());
    if (!index)
        m_config.currentNodeIndex = 0; // nothing remembered that could be read
    else if (*index == 0)
        m_config.currentNodeIndex = getFirstPlay();
    else
        m_config.currentNodeIndex = *index;
}

void TfrmMain::restorePlayModeUi() {
    bool ok = false;
    const int mode = m_config.playMode.toInt(&ok);
    m_transport->showPlayMode(ok ? mode : -1); // an unknown mode checks none
}

void TfrmMain::FormShow() {
    if (!m_config.hideOnStart)
        startSession();
}

void TfrmMain::startSession() {
    if (m_sessionStarted)
        return;
    m_sessionStarted = true;
    if (m_services.startLogin)
        m_services.startLogin(m_config.clientCode, m_config.urlHome);
    // Hidden, this runs inside the constructor; the failure of the first play is shown all
    // the same.
    if (selectNode(m_config.currentNodeIndex))
        tv1Click();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TfrmMain::engineProgress(std::int32_t id, std::int32_t percent) {
    if (percent == 100 && m_curPlay && id >= 0 && id == m_curPlay->engineNo)
        m_transport->setLoadPercent(100);
}

void TfrmMain::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    try {
        releaseAudioPlayer();
    } catch (...) {
        // Ending the program goes on.
    }
    try {
        m_services.engine.UnInitlumora();
    } catch (...) {
        // Nothing can be done about an engine that fails while the program ends.
    }
}

void TfrmMain::limgCloseClick() {
    if (m_config.closeAction == QLatin1String("1")) {
        if (m_services.dialogs.confirm(Caption::ConfirmExit, QString::fromUtf8(kHintCaption)))
            m_services.terminate();
        return;
    }
    showMinimized();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // The window system closing the window ends the program.
    QWidget::closeEvent(event);
    m_services.terminate();
}

void TfrmMain::restoreFromHandOver() {
    if (isHidden())
        show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

} // namespace lumora
