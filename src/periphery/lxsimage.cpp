#include "lxsimage.h"

#include <QMouseEvent>

namespace lumora {

tLxsimage::tLxsimage(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
}

void tLxsimage::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    emit mousePressed(event->buttons(), event->position().toPoint());
}

void tLxsimage::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

void tLxsimage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    emit mouseReleased(event->position().toPoint());
    if (click)
        emit clicked();
}

void tLxsimage::mouseDoubleClickEvent(QMouseEvent*) {
    emit doubleClicked();
}

void tLxsimage::leaveEvent(QEvent* event) {
    emit mouseLeave(); // before the control's own leave handling
    QLabel::leaveEvent(event);
}

} // namespace lumora
