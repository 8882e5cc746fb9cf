// Full screen of the player, and the pictures of the transport bar's buttons.
#include "dialogs.h"
#include "flashcontrol.h"
#include "mainwindow.h"
#include "skin.h"

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>

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
    m_escapeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_escapeKey->setContext(Qt::ApplicationShortcut);
    m_escapeKey->setEnabled(false);
    connect(m_escapeKey, &QShortcut::activated, this, &TfrmMain::hotKeyMessage);
    m_services.flash.onFullScreenChanged = [this](bool on) {
        // The player movie left its own full screen (Esc, its button): nothing waits on it now.
        if (!on && m_curPlay && m_curPlay->type == ProgrammeType::Video)
            m_fullScreenOn = 0;
    };
}

void TfrmMain::setFullScreenChrome(bool shown) {
    for (QWidget* w : {static_cast<QWidget*>(pnlTop), static_cast<QWidget*>(pnlFunALl),
                       static_cast<QWidget*>(pnlStatus), static_cast<QWidget*>(pnlPlayFlv)})
        w->setVisible(shown);
    if (!shown)
        pnlVolume->hide();
}

void TfrmMain::hotKeyMessage() {
    if (!btnExitFullScreen->isHidden() && !pnlExitFullScreen->isHidden())
        btnExitFullScreenClick();
}

void TfrmMain::sbtnFullScreenClick() {
    if (!m_curPlay)
        return;
    try {
        QWidget* view = m_services.flash.widget();
        if (m_curPlay->type == ProgrammeType::Video) {
            m_fullScreenOn = 1;
            sendClickAt(view, playerMovieFullScreenButton(view));
            sendClickAt(view, playerMovieFullScreenButton(view));
        } else if (m_curPlay->type == ProgrammeType::Flash) {
            m_fullScreenOn = 1;
            if (!m_isMaximized)
                m_fullScreenOrigin = pos();
            // The control fills the window: everything around it steps aside. Moving the web
            // view itself to another parent would make the browser draw it anew, black.
            setFullScreenChrome(false);
            showFullScreen();
            pnlExitFullScreen->move(10, 10);
            pnlExitFullScreen->show();
            pnlExitFullScreen->raise();
            view->setFocus();
            m_escapeKey->setEnabled(true);
        } else if (m_curPlay->type == ProgrammeType::Audio) {
            m_services.dialogs.showInfo(kAudioNoFullScreen);
        }
    } catch (const std::exception&) {
        // The player stays as it is.
    }
}

void TfrmMain::btnExitFullScreenClick() {
    if (!m_curPlay)
        return;
    try {
        QWidget* view = m_services.flash.widget();
        if (m_curPlay->type == ProgrammeType::Video) {
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(inputTarget(view), &key);
            }
            pnlExitFullScreen->hide();
            m_fullScreenOn = 0;
        } else if (m_curPlay->type == ProgrammeType::Flash) {
            showNormal();
            if (m_isMaximized) {
                maximise();
            } else {
                resize(m_restoreWidth, m_restoreHeight);
                move(m_fullScreenOrigin);
            }
            setFullScreenChrome(true);
            pnlExitFullScreen->hide();
            m_escapeKey->setEnabled(false);
            m_fullScreenOn = 0;
        }
    } catch (const std::exception&) {
        // Full screen stays; the exit button is still there.
    }
}

// ImageList2: the pictures of the transport bar's buttons.
QIcon TfrmMain::imageList2(int index) const {
    return QIcon(skinPicture(QStringLiteral("imagelist2_%1").arg(index)));
}

} // namespace lumora
