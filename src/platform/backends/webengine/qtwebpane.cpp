#include "qtwebpane.h"

#include "resourcetext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <utility>

namespace lumora {

const QString QtWebPane::kErrorPageLocation = QStringLiteral("chrome-error://chromewebdata/");

namespace {

// Endless animations of the site's pages move in modest steps (the script says why).
QWebEngineScript modestAnimations() {
    QWebEngineScript script;
    script.setName(QStringLiteral("lumora-modest-animations"));
    script.setSourceCode(resourceText(QStringLiteral(":/lumora/webpane/modestanimations.js")));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    return script;
}

} // namespace

// Two off-the-record profiles: one with a memory cache for ordinary navigations, one with no
// cache at all for navigations that must neither read from nor write to the cache.
struct WebPaneProfiles {
    WebPaneProfiles() {
        for (QWebEngineProfile* profile : {&cached, &uncached}) {
            profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
            QWebEngineSettings* settings = profile->settings();
            settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
            settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
            settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
            // Never hand unknown schemes to the desktop, not even after a click.
            settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
            profile->scripts()->insert(modestAnimations());
        }
        uncached.setHttpCacheType(QWebEngineProfile::NoCache);
    }
    QWebEngineProfile cached;
    QWebEngineProfile uncached;
};

class WebPanePage : public QWebEnginePage {
public:
    WebPanePage(QWebEngineProfile* profile, std::function<void(const QUrl&)> refused)
        : QWebEnginePage(profile), m_refused(std::move(refused)) {}

protected:
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (QtWebPane::isAllowedScheme(url.scheme()))
            return true;
        m_refused(url);
        return false;
    }

private:
    std::function<void(const QUrl&)> m_refused;
};

QtWebPane::QtWebPane(std::shared_ptr<WebPaneProfiles> profiles, std::shared_ptr<QuietWatch> quiet,
                     QWidget* parent)
    : m_profiles(std::move(profiles)), m_quiet(std::move(quiet)),
      m_view(new QWebEngineView(parent)) {
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    usePage(false);
    QObject::connect(m_quiet.get(), &QuietWatch::quietChanged, m_view,
                     [this](bool quiet) { restAnimations(quiet); });
}

QtWebPane::~QtWebPane() {
    // The view may already have gone with its parent; the page goes after it.
    delete m_view.data();
}

QWidget* QtWebPane::widget() {
    return m_view;
}

bool QtWebPane::isAllowedScheme(const QString& scheme) {
    static const QStringList allowed{QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("file"), QStringLiteral("about"),
                                     QStringLiteral("data")};
    return allowed.contains(scheme.toLower());
}

void QtWebPane::refuse(const QUrl& url) {
    if (m_onNavigationRefused)
        m_onNavigationRefused(url);
}

void QtWebPane::usePage(bool uncached) {
    if (m_page && m_uncached == uncached)
        return;
    m_uncached = uncached;
    m_failed = false;
    auto page =
        std::make_unique<WebPanePage>(uncached ? &m_profiles->uncached : &m_profiles->cached,
                                      [this](const QUrl& url) { refuse(url); });
    QObject::connect(page.get(), &QWebEnginePage::loadingChanged, page.get(),
                     [this](const QWebEngineLoadingInfo& info) {
                         switch (info.status()) {
                         case QWebEngineLoadingInfo::LoadStartedStatus:
                             m_failed = false;
                             return;
                         case QWebEngineLoadingInfo::LoadSucceededStatus:
                         case QWebEngineLoadingInfo::LoadFailedStatus:
                             if (m_quiet->isQuiet())
                                 restAnimations(true);
                             // Error pages complete too, as the original control's do.
                             m_failed = info.status() == QWebEngineLoadingInfo::LoadFailedStatus;
                             if (onDocumentComplete)
                                 onDocumentComplete(true);
                             return;
                         case QWebEngineLoadingInfo::LoadStoppedStatus:
                             return;
                         }
                     });
    if (m_view)
        m_view->setPage(page.get());
    m_page = std::move(page);
}

void QtWebPane::navigate(const QString& address, int flags) {
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || !isAllowedScheme(url.scheme())) {
        refuse(url);
        return;
    }
    usePage(flags & NoWriteToCache);
    const bool web =
        url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    if (!web || !(flags & NoReadFromCache)) {
        m_page->load(url);
        return;
    }
    // Caches on the way (proxies) must ask the server as well.
    QWebEngineHttpRequest request(url);
    request.setHeader("Cache-Control", "no-cache");
    request.setHeader("Pragma", "no-cache");
    m_page->load(request);
}

QString QtWebPane::locationUrl() const {
    return m_failed ? kErrorPageLocation : m_page->url().toString();
}

void QtWebPane::setBodyScrollAndBorder(const QString& scroll, const QString& borderStyle) {
    // The values travel as JSON literals, so no text of ours can break out of the script.
    const QString values = QString::fromUtf8(
        QJsonDocument(QJsonArray{scroll, borderStyle}).toJson(QJsonDocument::Compact));
    m_page->runJavaScript(QStringLiteral("(function(v){var b=document.body;if(!b)return;"
                                         "b.setAttribute('scroll',v[0]);"
                                         "b.style.borderStyle=v[1];})(") +
                              values + QLatin1Char(')'),
                          QWebEngineScript::ApplicationWorld);
}

void QtWebPane::restAnimations(bool rest) {
    // A page may finish loading before the animations' script has run: it reads the word then.
    m_page->runJavaScript(QStringLiteral("window.lumoraAnimations ? lumoraAnimations.rest(%1)"
                                         " : (window.lumoraRestFirst = %1)")
                              .arg(rest ? QLatin1String("true") : QLatin1String("false")),
                          QWebEngineScript::ApplicationWorld);
}

QtWebPaneFactory::QtWebPaneFactory(std::chrono::milliseconds quietAfter)
    : m_profiles(std::make_shared<WebPaneProfiles>()),
      m_quiet(std::make_shared<QuietWatch>(quietAfter)) {}

QtWebPaneFactory::~QtWebPaneFactory() = default;

std::unique_ptr<WebPane> QtWebPaneFactory::createPane(QWidget* parent) {
    return std::make_unique<QtWebPane>(m_profiles, m_quiet, parent);
}

} // namespace lumora
