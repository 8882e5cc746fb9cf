// The window's own caption and outline.
#include "mainwindow.h"

#include "captionbar.h"
#include "cataloguepanel.h"
#include "chromewindow.h"
#include "skin.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWindow>

namespace lumora {

void TfrmMain::maximise() {
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        m_fullScreen.normalGeometry = geometry();
    // The full screen width by the work area's height, also without a window manager.
    if (QScreen* s = screen())
        setGeometry(
            QRect(s->geometry().topLeft(), maximisedSize(s->geometry(), s->availableGeometry())));
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

void TfrmMain::limgMaxClick() {
    maximise();
    m_isMaximized = true;
    m_captionBar->setMaximised(true);
}

void TfrmMain::limgNorClick() {
    const bool wasMaximised = windowState() & Qt::WindowMaximized;
    showNormal();
    // Back to the size it had before, also where no window manager keeps it.
    if (wasMaximised && m_fullScreen.normalGeometry.isValid())
        setGeometry(m_fullScreen.normalGeometry);
    m_isMaximized = false;
    m_restoreSize = size();
    m_captionBar->setMaximised(false);
}

void TfrmMain::imgTcDblClick() {
    if (windowState() & Qt::WindowMaximized)
        limgNorClick();
    else
        limgMaxClick();
}

void TfrmMain::imgTcMouseDown(Qt::MouseButtons buttons) {
    // A maximised window cannot be dragged; otherwise the window manager moves it.
    if ((windowState() & Qt::WindowMaximized) || !(buttons & Qt::LeftButton))
        return;
    if (QWindow* window = windowHandle())
        window->startSystemMove();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmMain::FormResize() {
    QPainterPath outline;
    outline.addRoundedRect(windowRegionRect(size()), kRegionCornerSize / 2.0,
                           kRegionCornerSize / 2.0);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    pnlFunALl->layoutScrollBar();
    updateTreeScrollBar();
}

void TfrmMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(QColor(kOutlineGrey, kOutlineGrey, kOutlineGrey), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0, 0, width() - 1, height() - 1), kOutlineCornerSize / 2.0,
                            kOutlineCornerSize / 2.0);
}

} // namespace lumora
