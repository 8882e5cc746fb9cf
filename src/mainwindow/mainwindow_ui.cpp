// The window's components, named, sized and coloured as its design gives them.
#include "appeventfilter.h"
#include "captions.h"
#include "flashcontrol.h"
#include "lxsimage.h"
#include "mainwindow.h"
#include "mediaplayer.h"
#include "skin.h"
#include "systemmsgholder.h"
#include "webpane.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace lumora {
namespace {

template <typename T> T* make(QWidget* parent, const char* name) {
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QFrame* panel(QWidget* parent, const char* name) {
    auto* f = make<QFrame>(parent, name);
    f->setFrameShape(QFrame::NoFrame);
    return f;
}

void fill(QWidget* w, const QColor& colour) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
}

QVBoxLayout* column(QWidget* w) {
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    return l;
}

QHBoxLayout* row(QWidget* w) {
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    return l;
}

} // namespace

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
    buildTopBar();
    layout->addWidget(pnlTop);

    pnlGame = panel(this, "pnlGame");
    layout->addWidget(pnlGame, 1);
    pnlGameC = panel(pnlGame, "pnlGameC");
    column(pnlGame)->addWidget(pnlGameC);
    auto* gameC = column(pnlGameC);

    PageControl1 = make<QTabWidget>(pnlGameC, "PageControl1");
    TabSheet1 = make<QWidget>(PageControl1, "TabSheet1");
    PageControl1->addTab(TabSheet1, Caption::TabSheet1);
    gameC->addWidget(PageControl1, 1);
    pnlMain = panel(TabSheet1, "pnlMain");
    column(TabSheet1)->addWidget(pnlMain);
    auto* mainRow = row(pnlMain);
    buildCatalogueColumn(pnlMain);
    mainRow->addWidget(pnlFunALl);
    buildPlayerColumn(pnlMain);
    mainRow->addWidget(pnlHomePageMain, 1);

    buildStatusBar(pnlGameC);
    gameC->addWidget(pnlStatus);

    pnlExitFullScreen = panel(this, "pnlExitFullScreen");
    pnlExitFullScreen->setGeometry(0, 0, 30, 24);
    btnExitFullScreen = make<QPushButton>(pnlExitFullScreen, "btnExitFullScreen");
    btnExitFullScreen->setGeometry(0, 0, 30, 24);
    btnExitFullScreen->setToolTip(QStringLiteral("退出全屏"));
    pnlExitFullScreen->hide();

    pMenuPlayMode = make<QMenu>(this, "pMenuPlayMode");
    TimerPlayList = new QTimer(this);
    TimerPlayList->setObjectName(QStringLiteral("TimerPlayList"));
    TimerPlayList->setInterval(1000);
    TimerSystemMsg = new QTimer(this);
    TimerSystemMsg->setObjectName(QStringLiteral("TimerSystemMsg"));
    TimerSystemMsg->setInterval(60000);
    buildPlayModeMenu();
    connectHandlers();
}

void TfrmMain::buildPlayModeMenu() {
    const struct {
        const char* name;
        const char* caption;
        const char* hint;
    } modes[] = {{"N13", "循环播放", "循环播放当前列表"},
                 {"N14", "顺序播放", "按顺序播放当前列表"},
                 {"N15", "单曲循环", "循环播放当前节目"},
                 {"N16", "随机播放", ""}};
    for (const auto& m : modes) {
        const int index = int(&m - modes);
        QAction* item = pMenuPlayMode->addAction(QString::fromUtf8(m.caption));
        item->setObjectName(QString::fromLatin1(m.name));
        item->setToolTip(QString::fromUtf8(m.hint));
        item->setCheckable(true);
        item->setIcon(QIcon(skinPicture(QStringLiteral("playmode_%1").arg(index))));
    }
    sbtnPlayMode->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TfrmMain::connectHandlers() {
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmMain::sbtnMoreClick);
    connect(sbtnQQOnline, &QToolButton::clicked, this, &TfrmMain::sbtnQQOnlineClick);
    connect(TrackBar2, &QSlider::valueChanged, this, &TfrmMain::TrackBar2Change);
    connect(TimerPlayList, &QTimer::timeout, this, &TfrmMain::TimerPlayListTimer);
    connect(btnNext, &QPushButton::clicked, this, &TfrmMain::btnNextClick);
    connect(btnPre, &QPushButton::clicked, this, &TfrmMain::btnPreClick);
    connect(sbtnPlayMode, &QToolButton::clicked, this, &TfrmMain::sbtnPlayModeClick);
    connect(sbtnPlayMode, &QToolButton::customContextMenuRequested, this,
            &TfrmMain::sbtnPlayModeClick);
    connect(btnPlay, &QPushButton::clicked, this, &TfrmMain::btnPlayClick);
    connect(btnSound, &QPushButton::clicked, this, &TfrmMain::btnSoundClick);
    connect(imgSound, &tLxsimage::clicked, this, &TfrmMain::btnSoundClick);
    connect(imgSound, &tLxsimage::mouseMoved, this, &TfrmMain::imgSoundMouseMove);
    connect(sbtnFullScreen, &QToolButton::clicked, this, &TfrmMain::sbtnFullScreenClick);
    connect(btnExitFullScreen, &QPushButton::clicked, this, &TfrmMain::btnExitFullScreenClick);
    connect(limgMax, &tLxsimage::clicked, this, &TfrmMain::limgMaxClick);
    connect(limgNor, &tLxsimage::clicked, this, &TfrmMain::limgNorClick);
    for (QWidget* w : {static_cast<QWidget*>(pnlPlayPos), static_cast<QWidget*>(pnlLoadPercent),
                       static_cast<QWidget*>(pnlPlayFlv), static_cast<QWidget*>(pnlPlayTrackBar),
                       static_cast<QWidget*>(pnlLoadAll), static_cast<QWidget*>(imgTc)}) {
        w->installEventFilter(this);
        w->setMouseTracking(true);
    }
    setupFullScreen();
    connect(TimerSystemMsg, &QTimer::timeout, this, &TfrmMain::TimerSystemMsgTimer);
    const QList<QAction*> modes = pMenuPlayMode->actions();
    for (int i = 0; i < modes.size(); ++i)
        connect(modes[i], &QAction::triggered, this,
                [this, i] { setPlayMode(QString::number(i)); });
    m_wbAds->onDocumentComplete = [this](bool top) { wbAdsDocumentComplete(top); };
    m_wbBottom->onDocumentComplete = [this](bool top) { wbBottomDocumentComplete(top); };
    m_wbMp3->onDocumentComplete = [this](bool top) { wbMp3DocumentComplete(top); };
    ApplicationEvents1 = new class ApplicationEvents1(this);
    ApplicationEvents1->setObjectName(QStringLiteral("ApplicationEvents1"));
    for (WebPane* pane : {m_wbMp3.get(), m_wbBottom.get(), m_wbAds.get()})
        ApplicationEvents1->guardRightClicks(pane->widget());
    qApp->installEventFilter(ApplicationEvents1);
    m_systemMsg = std::make_unique<SystemMsgHolder>(m_services.webPanes, m_config.urlMiniIndex);
    ApplicationEvents1->guardRightClicks(
        [this](const QObject* target) { return m_systemMsg->isInBrowser(target); });
    imgLogo->installEventFilter(this);
    imgSearch->installEventFilter(this);
    edtkey->installEventFilter(this);
    connect(edtkey, &QLineEdit::textChanged, this, &TfrmMain::edtkeyChange);
    lblWeb->installEventFilter(this);
    lblWeb->setMouseTracking(true);
}

bool TfrmMain::handleBarMouse(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int x = int(mouse->position().x());
    if (watched == pnlPlayPos) {
        if (type == QEvent::MouseButtonPress)
            pnlPlayPosMouseDown(x);
        else if (type == QEvent::MouseMove)
            pnlPlayPosMouseMove(x);
        else if (type == QEvent::MouseButtonRelease)
            pnlPlayPosMouseUp();
        return true;
    }
    if (watched == pnlLoadPercent && type == QEvent::MouseButtonPress) {
        pnlLoadPercentMouseDown(x);
        return true;
    }
    if ((watched == pnlPlayFlv || watched == pnlPlayTrackBar || watched == pnlLoadAll) &&
        type == QEvent::MouseMove)
        pnlPlayFlvMouseMove();
    if (watched == imgScrollMiddle2) {
        const int y = int(mouse->position().y());
        if (type == QEvent::MouseButtonPress)
            imgScrollMiddle2MouseDown(y);
        else if (type == QEvent::MouseMove)
            imgScrollMiddle2MouseMove(y);
        else if (type == QEvent::MouseButtonRelease)
            imgScrollMiddle2MouseUp();
        return true;
    }
    if (watched == imgTc && type == QEvent::MouseButtonPress)
        imgTcMouseDown(mouse->buttons());
    if (watched == imgTc && type == QEvent::MouseButtonDblClick)
        imgTcDblClick();
    return false;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == imgLogo || watched == lblWeb) && event->type() == QEvent::MouseButtonRelease)
        N8Click();
    if (watched == imgSearch && event->type() == QEvent::MouseButtonRelease)
        imgSearchClick();
    if (handleBarMouse(watched, event))
        return true;
    if (watched == pnlTop && event->type() == QEvent::Resize)
        layoutCaption();
    // The tree's panel settles its size after the window's resize: the bar follows it.
    if (watched == pnlFuncTree && event->type() == QEvent::Resize)
        FormResize();
    if (watched == tv1->viewport() && event->type() == QEvent::MouseButtonRelease)
        tv1MouseUp();
    if (watched == edtkey) {
        if (event->type() == QEvent::FocusIn)
            edtkeyEnter();
        else if (event->type() == QEvent::FocusOut)
            edtkeyExit();
        else if (event->type() == QEvent::KeyPress &&
                 edtkeyKeyDown(static_cast<QKeyEvent*>(event)->key()))
            return true;
    }
    if (watched == lblWeb && event->type() == QEvent::MouseMove)
        lblWeb->setStyleSheet(QStringLiteral("color: #FFFFFF;"));
    if (watched == lblWeb && event->type() == QEvent::Leave)
        lblWeb->setStyleSheet(QStringLiteral("color: #C7F0FF;"));
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::buildTopBar() {
    pnlTop = panel(this, "pnlTop");
    pnlTop->setFixedHeight(84);
    fill(pnlTop, QColor(0x3A, 0x7B, 0xC8));
    const struct {
        QLabel** label;
        const char* name;
        const char* picture;
    } strip[] = {{&imgTl, "imgTl", "caption_tl"},
                 {&imgTc, "imgTc", "caption_tc"},
                 {&imgTr, "imgTr", "caption_tr"},
                 {&imgLogo, "imgLogo", "logo"}};
    for (const auto& piece : strip) {
        *piece.label = make<QLabel>(pnlTop, piece.name);
        (*piece.label)->setPixmap(skinPicture(QString::fromLatin1(piece.picture)));
        (*piece.label)->setScaledContents(true);
    }
    imgLogo->setCursor(Qt::PointingHandCursor);
    lblSysVer = make<QLabel>(pnlTop, "lblSysVer");
    lblSysVer->move(33, 4);
    lblSysVer->setStyleSheet(QStringLiteral("color: white; font-size: 13px;"));
    lblHint = make<QLabel>(pnlTop, "lblHint");
    lblHint->hide();
    limgMin = make<tLxsimage>(pnlTop, "limgMin");
    limgMax = make<tLxsimage>(pnlTop, "limgMax");
    limgNor = make<tLxsimage>(pnlTop, "limgNor");
    limgClose = make<tLxsimage>(pnlTop, "limgClose");
    limgClose->setFixedSize(43, 19);
    for (tLxsimage* b : {limgMin, limgMax, limgNor})
        b->setFixedSize(33, 19);
    connectCaptionButton(limgClose, QStringLiteral("close"));
    connectCaptionButton(limgMax, QStringLiteral("max"));
    connectCaptionButton(limgNor, QStringLiteral("restore"));
    connectCaptionButton(limgMin, QStringLiteral("min"));
    pnlTop->installEventFilter(this);
    limgClose->setToolTip(QStringLiteral("关闭"));
    limgMax->setToolTip(QStringLiteral("最大化"));
    limgNor->setToolTip(QStringLiteral("还原"));
    limgMin->setToolTip(QStringLiteral("最小化"));
    connect(limgClose, &tLxsimage::clicked, this, &TfrmMain::limgCloseClick);
    connect(limgMin, &tLxsimage::clicked, this, [this] { showMinimized(); });
}

void TfrmMain::buildCatalogueColumn(QWidget* parent) {
    pnlFunALl = panel(parent, "pnlFunALl");
    pnlFunALl->setFixedWidth(211);
    auto* col = column(pnlFunALl);

    pnlSearch = panel(pnlFunALl, "pnlSearch");
    pnlSearch->setFixedHeight(25);
    imgSearchBg = make<QLabel>(pnlSearch, "imgSearchBg");
    imgSearchBg->setGeometry(0, 0, 211, 25);
    imgSearchBg->setPixmap(skinPicture(QStringLiteral("search_bg")));
    edtkey = make<QLineEdit>(pnlSearch, "edtkey");
    edtkey->setGeometry(7, 6, 175, 18);
    edtkey->setFrame(false);
    edtkey->setStyleSheet(QStringLiteral("color: grey; font-size: 12px;"));
    imgSearch = make<QLabel>(pnlSearch, "imgSearch");
    imgSearch->setGeometry(184, 3, 21, 20);
    imgSearch->setCursor(Qt::PointingHandCursor);
    imgSearch->setPixmap(skinPicture(QStringLiteral("search_button")));
    col->addWidget(pnlSearch);

    pnlFuncTree = panel(pnlFunALl, "pnlFuncTree");
    tv1 = make<QTreeWidget>(pnlFuncTree, "tv1");
    column(pnlFuncTree)->addWidget(tv1);
    pnlScroll = panel(pnlFuncTree, "pnlScroll");
    pnlScroll->resize(13, 0);
    buildScrollBar();
    pnlFuncTree->installEventFilter(this);
    pnlScroll->hide();
    col->addWidget(pnlFuncTree, 1);

    pnlAds = panel(pnlFunALl, "pnlAds");
    pnlAds->setFixedHeight(200);
    m_wbAds = m_services.webPanes.createPane(pnlAds);
    m_wbAds->widget()->setObjectName(QStringLiteral("wbAds"));
    column(pnlAds)->addWidget(m_wbAds->widget());
    pnlAds->hide();
    col->addWidget(pnlAds);
}

void TfrmMain::buildPlayerColumn(QWidget* parent) {
    pnlHomePageMain = panel(parent, "pnlHomePageMain");
    pnlwbMain = panel(pnlHomePageMain, "pnlwbMain");
    column(pnlHomePageMain)->addWidget(pnlwbMain);
    pnlPlay = panel(pnlwbMain, "pnlPlay");
    column(pnlwbMain)->addWidget(pnlPlay);
    auto* col = column(pnlPlay);

    pnlplayMain = make<QStackedWidget>(pnlPlay, "pnlplayMain");
    ShockwaveFlash1 = m_services.flash.widget();
    ShockwaveFlash1->setObjectName(QStringLiteral("ShockwaveFlash1"));
    pnlplayMain->addWidget(ShockwaveFlash1);
    m_wbMp3 = m_services.webPanes.createPane(pnlplayMain);
    m_wbMp3->widget()->setObjectName(QStringLiteral("wbMp3"));
    pnlplayMain->addWidget(m_wbMp3->widget());
    col->addWidget(pnlplayMain, 1);

    pnlPlayFlv = panel(pnlPlay, "pnlPlayFlv");
    pnlPlayFlv->setFixedHeight(50);
    pnlPlayTrackBar = panel(pnlPlayFlv, "pnlPlayTrackBar");
    pnlPlayTrackBar->setGeometry(0, 0, 600, 17);
    pnlLoadAll = panel(pnlPlayTrackBar, "pnlLoadAll");
    pnlLoadAll->setGeometry(12, 6, 575, 6);
    fill(pnlLoadAll, Qt::white);
    pnlLoadPercent = panel(pnlLoadAll, "pnlLoadPercent");
    pnlLoadPercent->setGeometry(0, 0, 0, 6);
    fill(pnlLoadPercent, QColor(0x87, 0xCE, 0xEB));
    pnlPlayPos = panel(pnlPlayTrackBar, "pnlPlayPos");
    pnlPlayPos->setGeometry(12, 4, 6, 9);
    pnlPlayPos->setCursor(Qt::PointingHandCursor);
    const struct {
        QPushButton** button;
        const char* name;
        const char* hint;
        int left;
    } buttons[] = {{&btnPre, "btnPre", "上一首", 12},
                   {&btnPlay, "btnPlay", "播放/暂停", 46},
                   {&btnNext, "btnNext", "下一首", 80}};
    for (const auto& b : buttons) {
        *b.button = make<QPushButton>(pnlPlayFlv, b.name);
        (*b.button)->setGeometry(b.left, 21, 30, 24);
        (*b.button)->setToolTip(QString::fromUtf8(b.hint));
    }
    lblStatus = make<QLabel>(pnlPlayFlv, "lblStatus");
    lblStatus->setGeometry(120, 25, 120, 16);
    lblStatus->setText(Caption::LoadingStatus);
    btnSound = make<QPushButton>(pnlPlayFlv, "btnSound");
    btnSound->setGeometry(250, 21, 30, 24);
    btnSound->setToolTip(QStringLiteral("控制音量"));
    imgSound = make<tLxsimage>(btnSound, "imgSound");
    imgSound->setGeometry(0, 0, 30, 24);
    sbtnPlayMode = make<QToolButton>(pnlPlayFlv, "sbtnPlayMode");
    sbtnPlayMode->setGeometry(290, 21, 30, 24);
    sbtnPlayMode->setToolTip(QStringLiteral("选择节目播放方式"));
    sbtnFullScreen = make<QToolButton>(pnlPlayFlv, "sbtnFullScreen");
    sbtnFullScreen->setGeometry(330, 21, 30, 24);
    sbtnFullScreen->setToolTip(QStringLiteral("全屏播放"));
    lblTime = make<QLabel>(pnlPlayFlv, "lblTime");
    lblTime->setGeometry(480, 25, 107, 16);
    lblTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTime->setText(Caption::InitialTime);
    pnlPlayFlv->hide();
    col->addWidget(pnlPlayFlv);

    pnlVolume = panel(pnlPlay, "pnlVolume");
    pnlVolume->setGeometry(385, 353, 30, 71);
    TrackBar2 = make<QSlider>(pnlVolume, "TrackBar2");
    TrackBar2->setOrientation(Qt::Vertical);
    TrackBar2->setRange(0, 255);
    TrackBar2->setGeometry(0, 0, 30, 71);
    TrackBar2->setToolTip(QStringLiteral("调节音量"));
    pnlVolume->hide();
}

void TfrmMain::buildStatusBar(QWidget* parent) {
    pnlStatus = panel(parent, "pnlStatus");
    pnlStatus->setFixedHeight(27);
    fill(pnlStatus, QColor(213, 220, 241));
    const QString textColour = QStringLiteral("color: #C7F0FF;"); // 0xFFF0C7 as BGR
    lblSysVersion = make<QLabel>(pnlStatus, "lblSysVersion");
    lblSysVersion->setGeometry(11, 6, 180, 16);
    lblSysVersion->setStyleSheet(textColour);
    lblWeb = make<QLabel>(pnlStatus, "lblWeb");
    lblWeb->setGeometry(200, 6, 460, 16);
    lblWeb->setText(Caption::recommendText());
    lblWeb->setStyleSheet(textColour);
    lblWeb->setCursor(Qt::PointingHandCursor);
    pnlStatusBarAds = panel(pnlStatus, "pnlStatusBarAds");
    pnlStatusBarAds->setGeometry(200, 0, 460, 27);
    m_wbBottom = m_services.webPanes.createPane(pnlStatusBarAds);
    m_wbBottom->widget()->setObjectName(QStringLiteral("wbBottom"));
    column(pnlStatusBarAds)->addWidget(m_wbBottom->widget());
    pnlStatusBarAds->hide();
    sbtnQQOnline = make<QToolButton>(pnlStatus, "sbtnQQOnline");
    sbtnQQOnline->setText(Caption::QQOnline);
    sbtnQQOnline->setGeometry(670, 2, 70, 23);
    SpeedButton1 = make<QToolButton>(pnlStatus, "SpeedButton1");
    SpeedButton1->setText(Caption::MoreResources);
    SpeedButton1->setGeometry(745, 2, 70, 23);
}

} // namespace lumora
