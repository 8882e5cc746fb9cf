#include "mainwindow.h"

#include "datamodule.h"
#include "edition.h"
#include "startup.h"
#include "windowsystem.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace lumora {

TfrmMain::TfrmMain(Config& config, MainWindowServices services, QWidget* parent)
    : QWidget(parent), m_config(config), m_services(services) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlag(Qt::FramelessWindowHint);
    resize(823, 592);
    // The native window exists even while hidden, so a second copy can find it.
    m_services.windows.setWindowClass(NativeWindow(winId()),
                                      QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                                      kMainWindowClass);
    FormCreate();
}

void TfrmMain::FormCreate() {
    initMainWindow();
}

void TfrmMain::initMainWindow() {
    setWindowState(Qt::WindowMaximized);
    countStart(m_config);
    applyEditionCaptions();
}

void TfrmMain::applyEditionCaptions() {
    const Edition& edition = editionFor(m_config.editionCode);
    setWindowTitle(QString::fromUtf8(edition.caption));
    if (!isChannelEdition(m_config.editionCode))
        m_config.editionCode = 0;
}

void TfrmMain::restoreFromHandOver() {
    if (isHidden())
        show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
}

} // namespace lumora
