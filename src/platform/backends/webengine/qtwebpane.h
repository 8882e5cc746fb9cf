#pragma once

#include "webpane.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QWebEngineView;

namespace lumora {

class WebPanePage;
struct WebPaneProfiles;

// A pane on Qt WebEngine. Pages see no object of the program, open no windows and may only
// go to web addresses, local files and inline documents.
class QtWebPane : public WebPane {
public:
    // Where a pane stands after a load that failed (network or HTTP error): the engine's own
    // address of its error page, so comparisons with the address asked for fail.
    static const QString kErrorPageLocation;

    QtWebPane(std::shared_ptr<WebPaneProfiles> profiles, QWidget* parent);
    ~QtWebPane() override;
    QtWebPane(const QtWebPane&) = delete;
    QtWebPane& operator=(const QtWebPane&) = delete;

    QWidget* widget() override;
    void navigate(const QString& address, int flags = 0) override;
    QString locationUrl() const override;
    void setBodyScrollAndBorder(const QString& scroll, const QString& borderStyle) override;

    // Told of every navigation refused for its scheme (by navigate or by the page).
    void setNavigationRefusedHandler(std::function<void(const QUrl& url)> handler) {
        m_onNavigationRefused = std::move(handler);
    }

    static bool isAllowedScheme(const QString& scheme);

private:
    void usePage(bool uncached);
    void refuse(const QUrl& url);

    std::shared_ptr<WebPaneProfiles> m_profiles;
    QPointer<QWebEngineView> m_view;
    std::unique_ptr<WebPanePage> m_page;
    bool m_uncached = false;
    bool m_failed = false;
    std::function<void(const QUrl& url)> m_onNavigationRefused;
};

// Panes of one program share an off-the-record profile: nothing is written to disk.
class QtWebPaneFactory : public WebPaneFactory {
public:
    QtWebPaneFactory();
    ~QtWebPaneFactory() override;
    std::unique_ptr<WebPane> createPane(QWidget* parent) override;

private:
    std::shared_ptr<WebPaneProfiles> m_profiles;
};

} // namespace lumora
