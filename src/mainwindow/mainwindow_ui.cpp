// The window's components, named, sized and coloured as its design gives them.
#include "appeventfilter.h"
#include "captionbar.h"
#include "captions.h"
#include "cataloguepanel.h"
#include "flashcontrol.h"
#include "lxsimage.h"
#include "mainwindow.h"
#include "mediaplayer.h"
#include "playerarea.h"
#include "skin.h"
#include "statusstrip.h"
#include "systemmsgholder.h"
#include "transportbar.h"
#include "webpane.h"
#include "widgetmaking.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace lumora {
using ui::column;
using ui::make;
using ui::panel;
using ui::row;
QString Caption::recommendText() {
    return QStringLiteral("请将Lumora软件(") + kSiteHost +
           QStringLiteral(")推荐给朋友/同事/同学以及幼儿园老师！");
}

QString Caption::moreResourcesMissing() {
    return QStringLiteral("更多资源请到Lumora网(") + kSiteHost + QStringLiteral(")下载安装!");
}

void TfrmMain::buildComponents() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlag(Qt::FramelessWindowHint);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);
    // The design size, centred on the desktop: the size restoring comes back to.
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, QSize(823, 592),
                                    QGuiApplication::primaryScreen()->availableGeometry()));

    auto* layout = column(this);
    m_captionBar = new CaptionBar(this);
    layout->addWidget(m_captionBar);

    auto* pnlGame = panel(this, "pnlGame");
    layout->addWidget(pnlGame, 1);
    auto* pnlGameC = panel(pnlGame, "pnlGameC");
    column(pnlGame)->addWidget(pnlGameC);
    auto* gameC = column(pnlGameC);

    PageControl1 = make<QTabWidget>(pnlGameC, "PageControl1");
    TabSheet1 = make<QWidget>(PageControl1, "TabSheet1");
    PageControl1->addTab(TabSheet1, Caption::TabSheet1);
    gameC->addWidget(PageControl1, 1);
    auto* pnlMain = panel(TabSheet1, "pnlMain");
    column(TabSheet1)->addWidget(pnlMain);
    auto* mainRow = row(pnlMain);
    buildCatalogueColumn(pnlMain);
    mainRow->addWidget(pnlFunALl);
    m_playerArea = new PlayerArea(m_services.flash.widget(), m_services.webPanes, pnlMain);
    m_transport = &m_playerArea->transport();
    mainRow->addWidget(m_playerArea, 1);

    m_statusStrip = new StatusStrip(m_services.webPanes, pnlGameC);
    gameC->addWidget(m_statusStrip);

    m_exitFullScreen = new ExitFullScreenPanel(this);

    TimerPlayList = new QTimer(this);
    TimerPlayList->setObjectName(QStringLiteral("TimerPlayList"));
    TimerPlayList->setInterval(1000);
    TimerSystemMsg = new QTimer(this);
    TimerSystemMsg->setObjectName(QStringLiteral("TimerSystemMsg"));
    TimerSystemMsg->setInterval(60000);
    connectHandlers();
}

void TfrmMain::connectHandlers() {
    connect(m_statusStrip, &StatusStrip::moreClicked, this, &TfrmMain::sbtnMoreClick);
    connect(m_statusStrip, &StatusStrip::qqOnlineClicked, this, &TfrmMain::sbtnQQOnlineClick);
    connect(m_statusStrip, &StatusStrip::linkClicked, this, &TfrmMain::N8Click);
    connect(m_transport, &TransportBar::volumeChanged, this, &TfrmMain::TrackBar2Change);
    connect(TimerPlayList, &QTimer::timeout, this, &TfrmMain::TimerPlayListTimer);
    connect(m_transport, &TransportBar::nextClicked, this, &TfrmMain::btnNextClick);
    connect(m_transport, &TransportBar::previousClicked, this, &TfrmMain::btnPreClick);
    connect(m_transport, &TransportBar::playModeClicked, this, &TfrmMain::sbtnPlayModeClick);
    connect(m_transport, &TransportBar::playClicked, this, &TfrmMain::btnPlayClick);
    connect(m_transport, &TransportBar::soundClicked, this, &TfrmMain::btnSoundClick);
    connect(m_transport, &TransportBar::soundHovered, this, &TfrmMain::imgSoundMouseMove);
    connect(m_transport, &TransportBar::fullScreenClicked, this, &TfrmMain::sbtnFullScreenClick);
    connect(m_transport, &TransportBar::knobPressed, this, &TfrmMain::pnlPlayPosMouseDown);
    connect(m_transport, &TransportBar::knobMoved, this, &TfrmMain::pnlPlayPosMouseMove);
    connect(m_transport, &TransportBar::knobReleased, this, &TfrmMain::pnlPlayPosMouseUp);
    connect(m_transport, &TransportBar::loadBarPressed, this, &TfrmMain::pnlLoadPercentMouseDown);
    connect(m_transport, &TransportBar::barHovered, this, &TfrmMain::pnlPlayFlvMouseMove);
    connect(m_exitFullScreen, &ExitFullScreenPanel::exitFullScreenClicked, this,
            &TfrmMain::btnExitFullScreenClick);
    connect(m_captionBar, &CaptionBar::maximiseClicked, this, &TfrmMain::limgMaxClick);
    connect(m_captionBar, &CaptionBar::restoreClicked, this, &TfrmMain::limgNorClick);
    connect(m_captionBar, &CaptionBar::minimiseClicked, this, [this] { showMinimized(); });
    connect(m_captionBar, &CaptionBar::closeClicked, this, &TfrmMain::limgCloseClick);
    connect(m_captionBar, &CaptionBar::logoClicked, this, &TfrmMain::N8Click);
    connect(m_captionBar, &CaptionBar::dragStarted, this, &TfrmMain::imgTcMouseDown);
    connect(m_captionBar, &CaptionBar::doubleClicked, this, &TfrmMain::imgTcDblClick);
    setupFullScreen();
    connect(TimerSystemMsg, &QTimer::timeout, this, &TfrmMain::TimerSystemMsgTimer);
    connect(m_transport, &TransportBar::playModeChosen, this,
            [this](int mode) { setPlayMode(QString::number(mode)); });
    wbBottom().onDocumentComplete = [this](bool top) { wbBottomDocumentComplete(top); };
    wbMp3().onDocumentComplete = [this](bool top) { wbMp3DocumentComplete(top); };
    m_applicationEvents = new class ApplicationEvents1(this);
    m_applicationEvents->setObjectName(QStringLiteral("ApplicationEvents1"));
    for (WebPane* pane : {&wbMp3(), &wbBottom(), &pnlFunALl->adsPane()})
        m_applicationEvents->guardRightClicks(pane->widget());
    qApp->installEventFilter(m_applicationEvents);
    m_systemMsg = std::make_unique<SystemMsgHolder>(m_services.webPanes, m_config.urlMiniIndex);
    m_applicationEvents->guardRightClicks(
        [this](const QObject* target) { return m_systemMsg->isInBrowser(target); });
    connectCatalogue();
}

void TfrmMain::buildCatalogueColumn(QWidget* parent) {
    pnlFunALl = new CataloguePanel(m_tree, m_services.webPanes, parent);
}

} // namespace lumora
