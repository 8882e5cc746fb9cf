// The window's own caption, outline and the catalogue tree's picture scroll bar.
#include "mainwindow.h"

#include "chromescroll.h"
#include "chromewindow.h"
#include "lxsimage.h"
#include "skin.h"
#include "treerules.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTreeWidget>
#include <QWindow>

namespace lumora {
namespace {

QLabel* picture(QWidget* parent, const char* name, const QString& skinName) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(skinPicture(skinName));
    label->setScaledContents(true);
    return label;
}

} // namespace

void TfrmMain::maximise() {
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        m_normalGeometry = geometry();
    // The full screen width by the work area's height, also without a window manager.
    if (QScreen* s = screen())
        setGeometry(
            QRect(s->geometry().topLeft(), maximisedSize(s->geometry(), s->availableGeometry())));
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

void TfrmMain::limgMaxClick() {
    maximise();
    m_isMaximized = true;
    limgMax->hide();
    limgNor->show();
}

void TfrmMain::limgNorClick() {
    const bool wasMaximised = windowState() & Qt::WindowMaximized;
    showNormal();
    // Back to the size it had before, also where no window manager keeps it.
    if (wasMaximised && m_normalGeometry.isValid())
        setGeometry(m_normalGeometry);
    m_isMaximized = false;
    m_restoreWidth = width();
    m_restoreHeight = height();
    limgMax->show();
    limgNor->hide();
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

void TfrmMain::connectCaptionButton(tLxsimage* button, const QString& pictures) {
    const auto show = [button, pictures](const char* state) {
        button->setPixmap(skinPicture(pictures + QLatin1Char('_') + QLatin1String(state)));
    };
    show("normal");
    connect(button, &tLxsimage::mousePressed, button, [show] { show("pressed"); });
    connect(button, &tLxsimage::mouseMoved, button, [show] { show("hover"); });
    connect(button, &tLxsimage::mouseReleased, button, [show] { show("hover"); });
    connect(button, &tLxsimage::mouseLeave, button, [show] { show("normal"); });
}

void TfrmMain::layoutCaption() {
    const int w = pnlTop->width();
    const int h = pnlTop->height();
    imgTl->setGeometry(0, 0, 5, h);
    imgTr->setGeometry(w - 5, 0, 5, h);
    imgTc->setGeometry(5, 0, w - 10, h);
    imgLogo->setGeometry(8, 0, 20, 20);
    limgClose->move(w - 5 - limgClose->width(), 0);
    limgMax->move(limgClose->x() - limgMax->width(), 0);
    limgNor->move(limgMax->pos());
    limgMin->move(limgMax->x() - limgMin->width(), 0);
    for (QWidget* over : {static_cast<QWidget*>(imgLogo), static_cast<QWidget*>(lblSysVer),
                          static_cast<QWidget*>(lblHint), static_cast<QWidget*>(limgMin),
                          static_cast<QWidget*>(limgMax), static_cast<QWidget*>(limgNor),
                          static_cast<QWidget*>(limgClose)})
        over->raise();
}

void TfrmMain::buildScrollBar() {
    imgScrollTop = picture(pnlScroll, "imgScrollTop", "scroll_track_top");
    imgScrollMiddle = picture(pnlScroll, "imgScrollMiddle", "scroll_track_middle");
    imgScrollBottom = picture(pnlScroll, "imgScrollBottom", "scroll_track_bottom");
    imgScrollTop2 = picture(pnlScroll, "imgScrollTop2", "scroll_thumb_top");
    imgScrollMiddle2 = picture(pnlScroll, "imgScrollMiddle2", "scroll_thumb_middle");
    imgScrollBottom2 = picture(pnlScroll, "imgScrollBottom2", "scroll_thumb_bottom");
    imgScrollMiddle2->installEventFilter(this);
    tv1->viewport()->installEventFilter(this);
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
    layoutCaption();
    pnlScroll->setGeometry(scrollPanelGeometry(pnlFuncTree->size(), pnlScroll->width()));
    const int h = pnlScroll->height();
    imgScrollTop->setGeometry(0, 0, 13, 9);
    imgScrollBottom->setGeometry(0, h - 9, 13, 9);
    imgScrollMiddle->setGeometry(0, 9, 13, std::max(0, h - 18));
    pnlScroll->raise();
    if (m_tree.count() == 0)
        pnlScroll->hide();
    else
        updateTreeScrollBar();
}

void TfrmMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(QColor(kOutlineGrey, kOutlineGrey, kOutlineGrey), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0, 0, width() - 1, height() - 1), kOutlineCornerSize / 2.0,
                            kOutlineCornerSize / 2.0);
}

void TfrmMain::updateTreeScrollBar() {
    if (m_tree.count() == 0) {
        pnlScroll->hide();
        return;
    }
    const QTreeWidgetItem* topItem = tv1->itemAt(0, 0);
    const int top = topItem ? topItem->data(0, kTreeIndexRole).toInt() : 0;
    const VisibleRows shown = countVisibleRows(m_tree, top);
    const TreeScrollLayout layout = treeScrollLayout(
        {shown.rows, shown.above, tv1->height(), imgScrollMiddle->height(), pnlScroll->height()});
    if (layout.tag)
        tv1->setProperty("tag", *layout.tag);
    if (!layout.visible) {
        pnlScroll->hide();
        return;
    }
    imgScrollTop2->setGeometry(0, layout.thumb.upperCapTop, 13, kThumbCapHeight);
    imgScrollMiddle2->setGeometry(0, layout.thumb.bodyTop, 13, layout.bodyHeight);
    imgScrollBottom2->setGeometry(0, layout.thumb.lowerCapTop, 13, kThumbCapHeight);
    pnlScroll->show();
}

void TfrmMain::tv1MouseUp() {
    updateTreeScrollBar();
}

void TfrmMain::imgScrollMiddle2MouseDown(int y) {
    m_thumbDragging = true;
    m_thumbGrabY = y;
}

void TfrmMain::imgScrollMiddle2MouseUp() {
    m_thumbDragging = false;
}

void TfrmMain::imgScrollMiddle2MouseMove(int y) {
    if (!m_thumbDragging)
        return;
    const ThumbDragResult drag =
        dragThumb({imgScrollMiddle2->y(), y, m_thumbGrabY, pnlScroll->height(), kThumbCapHeight,
                   kThumbCapHeight, imgScrollMiddle2->height(), tv1->property("tag").toInt(),
                   imgScrollMiddle->height()});
    imgScrollTop2->move(0, drag.thumb.upperCapTop);
    imgScrollMiddle2->move(0, drag.thumb.bodyTop);
    imgScrollBottom2->move(0, drag.thumb.lowerCapTop);
    if (!drag.row)
        return;
    if (const std::optional<int> node = rowToNode(m_tree, *drag.row))
        tv1->scrollToItem(m_items[std::size_t(*node)], QAbstractItemView::PositionAtTop);
}

} // namespace lumora
