// The window's own caption bar.
#include "captionbar.h"

#include "lxsimage.h"
#include "skin.h"
#include "widgetmaking.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace lumora {
using ui::fill;
using ui::make;
namespace {

// A caption button shows its pictures for normal, hot and pressed.
void connectCaptionButton(tLxsimage* button, const QString& pictures) {
    const auto show = [button, pictures](const char* state) {
        button->setPixmap(skinPicture(pictures + QLatin1Char('_') + QLatin1String(state)));
    };
    show("normal");
    QObject::connect(button, &tLxsimage::mousePressed, button, [show] { show("pressed"); });
    QObject::connect(button, &tLxsimage::mouseMoved, button, [show] { show("hover"); });
    QObject::connect(button, &tLxsimage::mouseReleased, button, [show] { show("hover"); });
    QObject::connect(button, &tLxsimage::mouseLeave, button, [show] { show("normal"); });
}

} // namespace

CaptionBar::CaptionBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnlTop"));
    setFrameShape(QFrame::NoFrame);
    setFixedHeight(84);
    fill(this, QColor(0x3A, 0x7B, 0xC8));
    // Made in this order, the logo, texts and buttons lie over the strip.
    const struct {
        QLabel** label;
        const char* name;
        const char* picture;
    } strip[] = {{&m_imgTl, "imgTl", "caption_tl"},
                 {&m_imgTc, "imgTc", "caption_tc"},
                 {&m_imgTr, "imgTr", "caption_tr"},
                 {&m_imgLogo, "imgLogo", "logo"}};
    for (const auto& piece : strip) {
        *piece.label = make<QLabel>(this, piece.name);
        (*piece.label)->setPixmap(skinPicture(QString::fromLatin1(piece.picture)));
        (*piece.label)->setScaledContents(true);
    }
    m_imgLogo->setCursor(Qt::PointingHandCursor);
    m_imgLogo->installEventFilter(this);
    m_imgTc->installEventFilter(this);
    m_imgTc->setMouseTracking(true);
    m_lblSysVer = make<QLabel>(this, "lblSysVer");
    m_lblSysVer->move(33, 0);
    m_lblSysVer->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_lblSysVer->setStyleSheet(QStringLiteral("color: white; font-size: 13px;"));
    m_lblHint = make<QLabel>(this, "lblHint");
    m_lblHint->hide();

    const struct {
        tLxsimage** button;
        const char* name;
        const char* pictures;
        const char* hint;
        int width;
        void (CaptionBar::*clicked)();
    } buttons[] = {{&m_limgMin, "limgMin", "min", "最小化", 33, &CaptionBar::minimiseClicked},
                   {&m_limgMax, "limgMax", "max", "最大化", 33, &CaptionBar::maximiseClicked},
                   {&m_limgNor, "limgNor", "restore", "还原", 33, &CaptionBar::restoreClicked},
                   {&m_limgClose, "limgClose", "close", "关闭", 43, &CaptionBar::closeClicked}};
    for (const auto& b : buttons) {
        *b.button = make<tLxsimage>(this, b.name);
        (*b.button)->setFixedSize(b.width, 19);
        (*b.button)->setToolTip(QString::fromUtf8(b.hint));
        connectCaptionButton(*b.button, QString::fromLatin1(b.pictures));
        connect(*b.button, &tLxsimage::clicked, this, b.clicked);
    }
    setMaximised(false);
}

void CaptionBar::setTitle(const QString& text) {
    m_lblSysVer->setText(text);
    m_lblSysVer->adjustSize();
    m_lblSysVer->resize(m_lblSysVer->width(), height()); // on the strip, never below it
}

QString CaptionBar::title() const {
    return m_lblSysVer->text();
}

void CaptionBar::setHint(const QString& text) {
    m_lblHint->setText(text);
    m_lblHint->show();
}

QString CaptionBar::hint() const {
    return m_lblHint->isHidden() ? QString() : m_lblHint->text();
}

void CaptionBar::setMaximised(bool maximised) {
    m_maximised = maximised;
    m_limgMax->setVisible(!maximised);
    m_limgNor->setVisible(maximised);
}

void CaptionBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    layoutCaption();
}

bool CaptionBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_imgLogo && event->type() == QEvent::MouseButtonRelease)
        emit logoClicked();
    if (watched == m_imgTc && event->type() == QEvent::MouseButtonPress)
        emit dragStarted(static_cast<QMouseEvent*>(event)->buttons());
    if (watched == m_imgTc && event->type() == QEvent::MouseButtonDblClick)
        emit doubleClicked();
    return QFrame::eventFilter(watched, event);
}

void CaptionBar::layoutCaption() {
    const int w = width();
    const int h = height();
    m_imgTl->setGeometry(0, 0, 5, h);
    m_imgTr->setGeometry(w - 5, 0, 5, h);
    m_imgTc->setGeometry(5, 0, w - 10, h);
    m_imgLogo->setGeometry(8, 0, 20, 20);
    m_limgClose->move(w - 5 - m_limgClose->width(), 0);
    m_limgMax->move(m_limgClose->x() - m_limgMax->width(), 0);
    m_limgNor->move(m_limgMax->pos());
    m_limgMin->move(m_limgMax->x() - m_limgMin->width(), 0);
}

} // namespace lumora
