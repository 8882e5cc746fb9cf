#include "systemmsg.h"

#include "lxsimage.h"
#include "skin.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QTimer>

namespace lumora {

namespace {
const QString kCaption = QStringLiteral("最新消息");
const QString kCloseHint = QStringLiteral("关闭");
} // namespace

ScreenAreas primaryScreenAreas() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->geometry(), screen->availableGeometry()};
}

TfrmSystemMsg::TfrmSystemMsg(WebPaneFactory& panes, const QString& urlMiniIndex,
                             ScreenAreasSource screenAreas)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_urlMiniIndex(urlMiniIndex), m_screenAreas(std::move(screenAreas)),
      m_pane(panes.createPane(this)) {
    setObjectName(QStringLiteral("frmSystemMsg"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);
    setFixedSize(kClientWidth, kClientHeight);

    QWidget* browser = m_pane->widget();
    browser->setObjectName(QStringLiteral("wbSystemMsg"));
    browser->setGeometry(0, 0, kClientWidth, kClientHeight);
    m_pane->onDocumentComplete = [this](bool topLevel) { wbSystemMsgDocumentComplete(topLevel); };

    m_pnlClose = new QWidget(this);
    m_pnlClose->setObjectName(QStringLiteral("pnlClose"));
    m_pnlClose->setGeometry(kClientWidth - kCloseWidth, 0, kCloseWidth, kCloseHeight);
    m_image1 = new tLxsimage(m_pnlClose);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(0, 0, kCloseWidth, kCloseHeight);
    m_image1->setScaledContents(true);
    m_image1->setPixmap(skinPicture(QStringLiteral("systemmsg_close")));
    m_image1->setCursor(Qt::PointingHandCursor);
    m_image1->setToolTip(kCloseHint);
    connect(m_image1, &tLxsimage::clicked, this, &TfrmSystemMsg::Image1Click);
    m_pnlClose->raise();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kShowFor);
    connect(m_timer1, &QTimer::timeout, this, &TfrmSystemMsg::Timer1Timer);
}

TfrmSystemMsg::~TfrmSystemMsg() {
    // The pane's widget is our child; the pane must not call back into a half-destroyed window.
    if (m_pane)
        m_pane->onDocumentComplete = nullptr;
}

void TfrmSystemMsg::showBelowScreen() {
    const ScreenAreas areas = m_screenAreas();
    move(areas.workArea.width() - width(), areas.screen.height());
    show();
    m_shownMarker = 0;
    m_pane->navigate(m_urlMiniIndex, kNavigateFlags);
}

void TfrmSystemMsg::wbSystemMsgDocumentComplete(bool topLevel) {
    if (!topLevel)
        return;
    if (m_pane->locationUrl().toLower() != m_urlMiniIndex.toLower())
        return;
    if (m_shownMarker == 1)
        return;
    m_shownMarker = 1;
    QMetaObject::invokeMethod(this, &TfrmSystemMsg::slideIn, Qt::QueuedConnection);
}

void TfrmSystemMsg::slideIn() {
    const int steps = height() + 1;
    int top = m_screenAreas().workArea.height();
    move(x(), top);
    // Pending events are handled between the steps, and a click on the close picture among
    // them deletes this window: only the guard is read after each step.
    const QPointer<TfrmSystemMsg> self(this);
    for (int i = 0; i < steps; ++i) {
        --top;
        move(x(), top);
        emit slideStep(top);
        QThread::msleep(1);
        QCoreApplication::processEvents();
        if (!self || !isVisible())
            return;
    }
    m_timer1->start();
}

void TfrmSystemMsg::Timer1Timer() {
    close();
}

void TfrmSystemMsg::Image1Click() {
    close();
}

QWidget* TfrmSystemMsg::browserWidget() const {
    return m_pane->widget();
}

void TfrmSystemMsg::setShowFor(std::chrono::milliseconds interval) {
    m_timer1->setInterval(interval);
}

} // namespace lumora
