// The status strip at the window's foot.
#include "statusstrip.h"

#include "captions.h"
#include "webpane.h"
#include "widgetmaking.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace lumora {
using ui::fill;
using ui::make;
namespace {

// The skin shows a hot widget (one under the mouse) in its own colour.
void setHot(QWidget* w, bool hot) {
    if (w->property("hot").toBool() == hot)
        return;
    w->setProperty("hot", hot);
    w->style()->unpolish(w);
    w->style()->polish(w);
}

} // namespace

StatusStrip::StatusStrip(WebPaneFactory& panes, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnlStatus"));
    setFrameShape(QFrame::NoFrame);
    setFixedHeight(27);
    fill(this, QColor(213, 220, 241));
    // The texts' colours are the skin's: they must stay readable on the strip.
    m_lblSysVersion = make<QLabel>(this, "lblSysVersion", {11, 6, 180, 16});
    m_lblWeb = make<QLabel>(this, "lblWeb", {200, 6, 460, 16});
    m_lblWeb->setText(Caption::recommendText());
    m_lblWeb->setCursor(Qt::PointingHandCursor);
    m_lblWeb->installEventFilter(this);
    m_lblWeb->setMouseTracking(true);
    m_pnlStatusBarAds = make<QFrame>(this, "pnlStatusBarAds", {200, 0, 460, 27});
    m_pnlStatusBarAds->setFrameShape(QFrame::NoFrame);
    m_wbBottom = panes.createPane(m_pnlStatusBarAds);
    m_wbBottom->widget()->setObjectName(QStringLiteral("wbBottom"));
    auto* adsLayout = new QVBoxLayout(m_pnlStatusBarAds);
    adsLayout->setContentsMargins(0, 0, 0, 0);
    adsLayout->setSpacing(0);
    adsLayout->addWidget(m_wbBottom->widget());
    m_pnlStatusBarAds->hide();
    m_sbtnQQOnline = make<QToolButton>(this, "sbtnQQOnline", {670, 2, 70, 23});
    m_sbtnQQOnline->setText(Caption::QQOnline);
    connect(m_sbtnQQOnline, &QToolButton::clicked, this, &StatusStrip::qqOnlineClicked);
    m_speedButton1 = make<QToolButton>(this, "SpeedButton1", {745, 2, 70, 23});
    m_speedButton1->setText(Caption::MoreResources);
    connect(m_speedButton1, &QToolButton::clicked, this, &StatusStrip::moreClicked);
}

StatusStrip::~StatusStrip() = default;

void StatusStrip::setVersionText(const QString& text) {
    m_lblSysVersion->setText(text);
}

QString StatusStrip::versionText() const {
    return m_lblSysVersion->text();
}

void StatusStrip::showOnlineService() {
    m_sbtnQQOnline->show();
}

void StatusStrip::showAds(bool shown) {
    m_pnlStatusBarAds->setVisible(shown);
}

bool StatusStrip::adsShown() const {
    return !m_pnlStatusBarAds->isHidden();
}

bool StatusStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lblWeb) {
        if (event->type() == QEvent::MouseButtonRelease)
            emit linkClicked();
        else if (event->type() == QEvent::MouseMove || event->type() == QEvent::Leave)
            setHot(m_lblWeb, event->type() == QEvent::MouseMove);
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace lumora
