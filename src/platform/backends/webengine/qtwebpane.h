#pragma once

#include "quietwatch.h"
#include "webpane.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>

class QWebEngineView;

namespace lumora {

class WebPanePage;
struct WebPaneProfiles;

// A pane on Qt WebEngine. Pages see no object of the program, open no windows and may only
// go to web addresses, local files and inline documents. Their endless animations rest while
// the program is quiet.
class QtWebPane : public WebPane {
public:
    // Where a pane stands after a load that failed (network or HTTP error): the engine's own
    // address of its error page, so comparisons with the address asked for fail.
    static const QString kErrorPageLocation;

    QtWebPane(std::shared_ptr<WebPaneProfiles> profiles, std::shared_ptr<QuietWatch> quiet,
              QWidget* parent);
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
    void restAnimations(bool rest);

    std::shared_ptr<WebPaneProfiles> m_profiles;
    std::shared_ptr<QuietWatch> m_quiet;
    QPointer<QWebEngineView> m_view;
    std::unique_ptr<WebPanePage> m_page;
    bool m_uncached = false;
    bool m_failed = false;
    std::function<void(const QUrl& url)> m_onNavigationRefused;
};

// Panes of one program share an off-the-record profile (nothing is written to disk) and one
// watch of the person's input.
class QtWebPaneFactory : public WebPaneFactory {
public:
    explicit QtWebPaneFactory(std::chrono::milliseconds quietAfter = QuietWatch::kQuietAfter);
    ~QtWebPaneFactory() override;
    std::unique_ptr<WebPane> createPane(QWidget* parent) override;

private:
    std::shared_ptr<WebPaneProfiles> m_profiles;
    std::shared_ptr<QuietWatch> m_quiet;
};

} // namespace lumora
