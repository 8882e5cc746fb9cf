#include "systemmsg.h"

#include "lxsimage.h"
#include "skin.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QVariantAnimation>

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
    if (m_slide)
        m_slide->stop(); // a reused pop-up starts below the screen again
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
    const int from = m_screenAreas().workArea.height();
    const int to = from - height() - 1;
    move(x(), from);
    // The window moves once per animation frame; every pixel passed still counts as a step.
    // The animation is our child, so a close during the slide ends it with the window.
    auto* slide = new QVariantAnimation(this);
    m_slide = slide;
    slide->setStartValue(from);
    slide->setEndValue(to);
    slide->setDuration(static_cast<int>(kSlideStep.count()) * (from - to));
    connect(slide, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        for (int top = y() - 1; top >= value.toInt(); --top) {
            move(x(), top);
            emit slideStep(top);
        }
    });
    connect(slide, &QVariantAnimation::finished, m_timer1, qOverload<>(&QTimer::start));
    slide->start(QAbstractAnimation::DeleteWhenStopped);
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
