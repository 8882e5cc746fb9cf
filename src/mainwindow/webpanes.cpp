// The site's panes and the status bar's links.
#include "asyncprobe.h"
#include "captions.h"
#include "cataloguepanel.h"
#include "dialogs.h"
#include "mainwindow.h"
#include "playerarea.h"
#include "shell.h"
#include "siteaddress.h"
#include "statusstrip.h"
#include "webpane.h"
#include "windowsystem.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QRegularExpression>
#include <QUrl>

namespace lumora {

QString insertEditionCode(const QString& address, int editionCode) {
    static const QRegularExpression html(QStringLiteral("\\.html"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString result = address;
    return result.replace(html, QString::number(editionCode) + QStringLiteral(".html"));
}

QString normalisedAddress(const QString& address) {
    // Read as the pane reads the address it is sent to.
    QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return address;
    const QString scheme = url.scheme();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    if (web && url.port() == (scheme == QLatin1String("http") ? 80 : 443))
        url.setPort(-1);
    if (web && url.path().isEmpty())
        url.setPath(QStringLiteral("/"));
    return url.toString(QUrl::FullyEncoded);
}

bool isAtAddress(const QString& location, const QString& address) {
    return normalisedAddress(location).compare(normalisedAddress(address), Qt::CaseInsensitive) ==
           0;
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

void TfrmMain::showSitePane(WebPane& pane, ShowPanel showPanel, const QString& address) {
    // The pane and its panel are ours: the answer is dropped with this window.
    m_services.probe.askReachable(
        address, this, [&pane, showPanel = std::move(showPanel), address](bool reachable) {
            if (!reachable)
                return;
            pane.navigate(address);
            showPanel(true);
        });
}

void TfrmMain::siteDocumentComplete(WebPane& pane, const ShowPanel& showPanel,
                                    const QString& address, bool topLevel) {
    if (!topLevel)
        return;
    WB_Set3DBorderStyle(pane, false);
    showPanel(isAtAddress(pane.locationUrl(), address));
}

WebPane& TfrmMain::wbBottom() {
    return m_statusStrip->adsPane();
}

WebPane& TfrmMain::wbMp3() {
    return m_playerArea->audioPane();
}

void TfrmMain::wbAdsDocumentComplete(bool topLevel) {
    siteDocumentComplete(
        pnlFunALl->adsPane(), [this](bool shown) { pnlFunALl->showAds(shown); },
        m_config.urlChannelAds, topLevel);
}

void TfrmMain::wbBottomDocumentComplete(bool topLevel) {
    siteDocumentComplete(
        wbBottom(), [this](bool shown) { m_statusStrip->showAds(shown); }, m_config.urlStatusBarAd,
        topLevel);
}

void TfrmMain::wbMp3DocumentComplete(bool) {
    WB_Set3DBorderStyle(wbMp3(), false);
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
