// Full screen of the player.
#include "captionbar.h"
#include "cataloguepanel.h"
#include "dialogs.h"
#include "flashcontrol.h"
#include "mainwindow.h"
#include "playerarea.h"
#include "statusstrip.h"
#include "transportbar.h"

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QShortcut>

namespace lumora {
namespace {

const QString kAudioNoFullScreen = QStringLiteral("音频文件不能全屏!");

// Where the player movie keeps its own full-screen button: the right end of its bar.
QPoint playerMovieFullScreenButton(const QWidget* view) {
    return {view->width() - 12, view->height() - 10};
}

void sendClick(QWidget* target, QPoint at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

// The innermost widget under a point of the view takes the input there (the browser's own).
void sendClickAt(QWidget* view, QPoint at) {
    QWidget* target = view->childAt(at);
    if (!target)
        target = view;
    const QPoint local = target->mapFrom(view, at);
    sendClick(target, local);
}

QWidget* inputTarget(QWidget* view) {
    return view->focusProxy() ? view->focusProxy() : view;
}

} // namespace

void TfrmMain::setupFullScreen() {
    m_fullScreen.escapeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_fullScreen.escapeKey->setContext(Qt::ApplicationShortcut);
    m_fullScreen.escapeKey->setEnabled(false);
    connect(m_fullScreen.escapeKey, &QShortcut::activated, this, &TfrmMain::hotKeyMessage);
    // The control's own full screen is known from what it reports, whoever asked for it (our
    // button, the player movie's bar, Esc), whatever plays now.
    m_services.flash.onFullScreenChanged = [this](bool on) {
        if (on && m_fullScreen.shown == FullScreen::Off)
            m_fullScreen.shown = FullScreen::Control;
        else if (!on && m_fullScreen.shown == FullScreen::Control)
            m_fullScreen.shown = FullScreen::Off;
    };
}

void TfrmMain::setFullScreenChrome(bool shown) {
    for (QWidget* w : {static_cast<QWidget*>(m_captionBar), static_cast<QWidget*>(pnlFunALl),
                       static_cast<QWidget*>(m_statusStrip), static_cast<QWidget*>(m_transport)})
        w->setVisible(shown);
    if (!shown)
        m_transport->hideVolume();
}

void TfrmMain::hotKeyMessage() {
    if (m_fullScreen.shown == FullScreen::Window)
        btnExitFullScreenClick();
}

void TfrmMain::sbtnFullScreenClick() {
    if (!m_player || m_fullScreen.shown != FullScreen::Off)
        return;
    try {
        QWidget* view = m_services.flash.widget();
        switch (m_player->fullScreen()) {
        case FullScreenWay::PlayerMovie:
            // The movie takes the screen itself; fullScreenOn follows the control's report.
            sendClickAt(view, playerMovieFullScreenButton(view));
            sendClickAt(view, playerMovieFullScreenButton(view));
            break;
        case FullScreenWay::Window:
            if (!m_isMaximized)
                m_fullScreen.origin = pos();
            // The control fills the window: everything around it steps aside. Moving the web
            // view itself to another parent would make the browser draw it anew, black.
            setFullScreenChrome(false);
            showFullScreen();
            m_exitFullScreen->move(10, 10);
            m_exitFullScreen->show();
            m_exitFullScreen->raise();
            view->setFocus();
            m_fullScreen.escapeKey->setEnabled(true);
            m_fullScreen.shown = FullScreen::Window;
            break;
        case FullScreenWay::Refused:
            m_services.dialogs.showInfo(kAudioNoFullScreen);
            break;
        case FullScreenWay::None:
            break;
        }
    } catch (const std::exception&) {
        // The player stays as it is.
    }
}

// Leaves whatever is full screen now, whichever programme plays: the one that went full screen
// may have ended or been replaced.
void TfrmMain::btnExitFullScreenClick() {
    try {
        QWidget* view = m_services.flash.widget();
        if (m_fullScreen.shown == FullScreen::Control) {
            // The control reports when it has left.
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(inputTarget(view), &key);
            }
            m_exitFullScreen->hide();
        } else if (m_fullScreen.shown == FullScreen::Window) {
            showNormal();
            if (m_isMaximized) {
                maximise();
            } else {
                resize(m_restoreSize);
                move(m_fullScreen.origin);
            }
            setFullScreenChrome(true);
            m_exitFullScreen->hide();
            m_fullScreen.escapeKey->setEnabled(false);
            m_fullScreen.shown = FullScreen::Off;
        }
    } catch (const std::exception&) {
        // Full screen stays; the exit button is still there.
    }
}

} // namespace lumora
