// The window's own caption: maximise, restore, drag.
#include "mainwindow.h"

#include "lxsimage.h"

#include <QWindow>

namespace lumora {

void TfrmMain::limgMaxClick() {
    showMaximized();
    m_isMaximized = true;
    limgMax->hide();
    limgNor->show();
}

void TfrmMain::limgNorClick() {
    showNormal();
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

} // namespace lumora
