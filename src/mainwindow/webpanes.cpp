// The site's panes and the status bar's links.
#include "captions.h"
#include "dialogs.h"
#include "mainwindow.h"
#include "shell.h"
#include "siteaddress.h"
#include "urlprobe.h"
#include "webpane.h"
#include "windowsystem.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QRegularExpression>

namespace lumora {

QString insertEditionCode(const QString& address, int editionCode) {
    static const QRegularExpression html(QStringLiteral("\\.html"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString result = address;
    return result.replace(html, QString::number(editionCode) + QStringLiteral(".html"));
}

bool isAtAddress(const QString& location, const QString& address) {
    return location.toLower() == address.toLower();
}

QString fullProductPath(const QString& appDir) {
    QString dir = appDir;
    if (dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return QFileInfo(dir).path() + QLatin1Char('/') + Caption::FullProductProgram;
}

namespace {

// The border routine of the panes: scrolling as needed, no border.
void WB_Set3DBorderStyle(WebPane& pane, bool raised) {
    pane.setBodyScrollAndBorder(QStringLiteral("auto"),
                                raised ? QString() : QStringLiteral("none"));
}

} // namespace

void TfrmMain::showSitePane(WebPane& pane, QWidget& panel, const QString& address) {
    if (!m_services.probe.isUrlReachable(address))
        return;
    pane.navigate(address);
    panel.show();
}

void TfrmMain::siteDocumentComplete(WebPane& pane, QWidget& panel, const QString& address,
                                    bool topLevel) {
    if (!topLevel)
        return;
    WB_Set3DBorderStyle(pane, false);
    panel.setVisible(isAtAddress(pane.locationUrl(), address));
}

void TfrmMain::wbAdsDocumentComplete(bool topLevel) {
    siteDocumentComplete(*m_wbAds, *pnlAds, m_config.urlChannelAds, topLevel);
}

void TfrmMain::wbBottomDocumentComplete(bool topLevel) {
    siteDocumentComplete(*m_wbBottom, *pnlStatusBarAds, m_config.urlStatusBarAd, topLevel);
}

void TfrmMain::wbMp3DocumentComplete(bool) {
    WB_Set3DBorderStyle(*m_wbMp3, false);
}

void TfrmMain::N8Click() {
    m_services.shell.openUrl(kSiteHost);
}

void TfrmMain::sbtnMoreClick() {
    const QString program = fullProductPath(m_config.appDir);
    if (QFileInfo(program).isFile()) {
        if (const auto window = m_services.windows.findWindow(QStringLiteral("TfrmMain"),
                                                              Caption::FullProductCaption))
            m_services.windows.restoreAndActivate(*window);
        else
            m_services.shell.startProgram(program);
        return;
    }
    m_services.dialogs.showInfo(Caption::moreResourcesMissing());
    m_services.shell.openUrl(kSiteHost);
}

void TfrmMain::sbtnQQOnlineClick() {
    if (!m_config.urlOnlineService.isEmpty())
        m_services.shell.openUrl(m_config.urlOnlineService);
}

} // namespace lumora
