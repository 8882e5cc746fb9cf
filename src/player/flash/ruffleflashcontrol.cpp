#include "ruffleflashcontrol.h"

#include "externalinterfacexml.h"
#include "flashpagebridge.h"
#include "moviesource.h"
#include "swfpatch.h"
#include "volume.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <memory>
#include <stdexcept>

namespace lumora {
namespace {

constexpr qint64 kMaxMovieBytes = 256 << 20;
constexpr int kExternalInterfaceVersion = 8;

// The host page: it stays on itself and opens nothing.
class HostPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    bool loaded = false;

protected:
    bool acceptNavigationRequest(const QUrl&, NavigationType, bool isMainFrame) override {
        return isMainFrame && !loaded;
    }
};

QString resourceText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing resource " + path.toStdString());
    return QString::fromUtf8(file.readAll());
}

QString scaleName(int mode) {
    switch (mode) {
    case 1:
        return QStringLiteral("noBorder");
    case FlashControl::kScaleExactFit:
        return QStringLiteral("exactFit");
    case 3:
        return QStringLiteral("noScale");
    default:
        return QStringLiteral("showAll");
    }
}

QString jsonText(const QJsonValue& value) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
        .chopped(1)
        .mid(1);
}

} // namespace

QByteArray RuffleFlashControl::instrument(const QByteArray& swf, bool loop) {
    const auto info = readSwfInfo(swf);
    if (info && info->avm2)
        throw SwfError("ActionScript 3 movies get no frame callbacks");
    QByteArray patched = instrumentMovie(swf, SwfPatchOptions{.loop = loop});
    // Ruffle offers ExternalInterface to ActionScript 1/2 only from version 8 on.
    if (static_cast<quint8>(patched[3]) < kExternalInterfaceVersion)
        patched[3] = char(kExternalInterfaceVersion);
    return patched;
}

RuffleFlashControl::RuffleFlashControl(const QString& ruffleDir, ProgramVolume& volume,
                                       QWidget* parent)
    : m_volume(volume), m_patcher(&RuffleFlashControl::instrument), m_ruffleDir(ruffleDir),
      m_holder(new QWidget(parent)), m_view(new QWebEngineView(m_holder)),
      m_profile(new QWebEngineProfile(this)),
      m_bridge(new FlashPageBridge([this](const QJsonObject& s) { onReport(s); }, this)) {
    m_holder->setObjectName(QStringLiteral("ShockwaveFlash1"));
    auto* layout = new QVBoxLayout(m_holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    auto* page = new HostPage(m_profile, m_view);
    auto* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    page->setBackgroundColor(Qt::black);

    QWebEngineScript channelScript;
    channelScript.setName(QStringLiteral("qwebchannel"));
    channelScript.setSourceCode(resourceText(QStringLiteral(":/qtwebchannel/qwebchannel.js")));
    channelScript.setInjectionPoint(QWebEngineScript::DocumentCreation);
    channelScript.setWorldId(QWebEngineScript::MainWorld);
    page->scripts().insert(channelScript);

    // Only this page gets the channel; the site's panes live in other pages and profiles.
    auto* channel = new QWebChannel(page);
    channel->registerObject(QStringLiteral("flash"), m_bridge);
    page->setWebChannel(channel);
    m_view->setPage(page);

    connect(page, &QWebEnginePage::fullScreenRequested, this,
            [this](QWebEngineFullScreenRequest request) { onFullScreen(std::move(request)); });
    connect(page, &QWebEnginePage::loadFinished, this,
            [page](bool) { static_cast<HostPage*>(page)->loaded = true; });
    // about:blank does not ask acceptNavigationRequest; a page that left or died is loaded
    // again, without its movie, which could only do the same again.
    connect(page, &QWebEnginePage::urlChanged, this, [this, page](const QUrl& url) {
        if (static_cast<HostPage*>(page)->loaded && url != hostUrl())
            recoverHost();
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] { recoverHost(); });

    m_volumeListener = m_volume.subscribe([this](std::uint32_t v) { applyVolume(v); });
    loadHost();
}

RuffleFlashControl::~RuffleFlashControl() {
    m_volume.unsubscribe(m_volumeListener);
    if (m_reply)
        m_reply->abort();
    // The view and its page go before the profile, a child of this object.
    delete m_fullScreenWindow;
    delete m_holder;
}

QWidget* RuffleFlashControl::widget() {
    return m_holder;
}

QWebEnginePage* RuffleFlashControl::page() const {
    return m_view->page();
}

QUrl RuffleFlashControl::hostUrl() const {
    return QUrl::fromLocalFile(QFileInfo(m_ruffleDir).absoluteFilePath() + "/");
}

void RuffleFlashControl::recoverHost() {
    m_hostReady = false;
    ++m_load; // a load under way is dropped
    failLoad();
    QTimer::singleShot(0, this, [this] { loadHost(); });
}

void RuffleFlashControl::loadHost() {
    auto* page = static_cast<HostPage*>(m_view->page());
    page->loaded = false;
    QString html = resourceText(QStringLiteral(":/lumora/flash/host.html"));
    html.replace(QStringLiteral("/*GLUE*/"),
                 resourceText(QStringLiteral(":/lumora/flash/host.js")));
    page->setHtml(html, hostUrl());
}

void RuffleFlashControl::command(const QString& call) {
    ++m_sequence;
    if (m_hostReady)
        page()->runJavaScript(QStringLiteral("lumoraHost.run(%1, %2)").arg(m_sequence).arg(call));
}

void RuffleFlashControl::setMovie(const QString& movie) {
    m_movie = movie;
    const quint64 load = ++m_load;
    m_readyState = 0;
    m_totalFrames = 0;
    m_currentFrame = 0;
    m_playing = false;
    m_framesExact = false;
    m_complete = false;
    m_pendingLoad = 0;
    m_pendingBytes.clear();
    m_pendingInstrumented = false;
    if (m_reply)
        m_reply->abort();
    command(QStringLiteral("\"blank\", []"));
    // Loop, ScaleMode and the rest are set after Movie by the same caller: load on the next
    // turn so that they apply.
    QTimer::singleShot(0, this, [this, load] { startLoad(load); });
}

void RuffleFlashControl::startLoad(quint64 load) {
    if (load != m_load)
        return;
    const MovieSource source = resolveMovie(m_movie);
    if (source.url.isEmpty())
        return failLoad();
    if (!source.remote) {
        QFile file(source.url.toLocalFile());
        if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxMovieBytes)
            return failLoad();
        return deliver(load, file.readAll());
    }
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(source.url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kMaxMovieBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, load] {
        reply->deleteLater();
        if (load != m_load)
            return;
        if (reply->error() != QNetworkReply::NoError)
            return failLoad();
        deliver(load, reply->readAll());
    });
}

void RuffleFlashControl::failLoad() {
    m_readyState = 0;
    m_totalFrames = 0;
    m_currentFrame = 0;
    m_playing = false;
    m_framesExact = false;
}

void RuffleFlashControl::deliver(quint64 load, const QByteArray& original) {
    const SwfState swf = swfState(original);
    if (swf == SwfState::NotSwf)
        return failLoad(); // nothing Ruffle could show; the player stays blank
    m_complete = swf == SwfState::Complete;
    QByteArray bytes = original;
    bool instrumented = false;
    if (m_patcher) {
        try {
            bytes = m_patcher(original, m_loop);
            instrumented = true;
        } catch (const std::exception&) {
            bytes = original;
        }
    }
    m_readyState = 1;
    m_playing = true;
    if (!m_hostReady) {
        m_pendingLoad = load;
        m_pendingBytes = bytes;
        m_pendingInstrumented = instrumented;
        return;
    }
    sendMovie(bytes, instrumented);
}

void RuffleFlashControl::sendMovie(const QByteArray& bytes, bool instrumented) {
    const MovieSource source = resolveMovie(m_movie);
    QJsonObject options{
        {"instrumented", instrumented},
        {"local", !source.remote},
        {"loop", m_loop},
        {"playing", m_playing},
        {"parameters", movieParameters(source.query, m_flashVars)},
        {"base", source.base.toString(QUrl::FullyEncoded)},
        {"name", source.url.fileName()},
        {"scale", scaleName(m_scaleMode)},
        {"backgroundColor", m_backgroundColor < 0
                                ? QJsonValue(QJsonValue::Null)
                                : QJsonValue(QStringLiteral("#%1").arg(m_backgroundColor & 0xFFFFFF,
                                                                       6, 16, QLatin1Char('0')))},
    };
    command(QStringLiteral("\"load\", [%1, \"%2\"]")
                .arg(jsonText(options), QString::fromLatin1(bytes.toBase64())));
}

void RuffleFlashControl::onReport(const QJsonObject& state) {
    if (state.value(QLatin1String("host")).toString() == QLatin1String("ready")) {
        m_hostReady = true;
        applyVolume(m_volume.read());
        if (m_pendingLoad == m_load && m_pendingLoad != 0) {
            m_pendingLoad = 0;
            sendMovie(std::exchange(m_pendingBytes, {}), m_pendingInstrumented);
        }
        return;
    }
    // A report written before the last command would undo what that command showed.
    if (static_cast<quint64>(state.value(QLatin1String("seq")).toDouble()) != m_sequence ||
        m_readyState == 0)
        return;
    const int ruffle = state.value(QLatin1String("ruffle")).toInt();
    const bool meta = state.value(QLatin1String("meta")).toBool();
    const int total = std::max(state.value(QLatin1String("total")).toInt(), 0);
    if (ruffle == 2 && meta && total > 0)
        m_readyState = m_complete ? kReadyStateLoaded : 3;
    else
        m_readyState = ruffle >= 1 ? 3 : 1;
    m_totalFrames = total;
    m_currentFrame =
        std::clamp(state.value(QLatin1String("frame")).toInt(), 0, std::max(total - 1, 0));
    m_playing = state.value(QLatin1String("playing")).toBool();
    m_framesExact = state.value(QLatin1String("exact")).toBool();
}

void RuffleFlashControl::play() {
    if (m_readyState == 0)
        return;
    m_playing = true;
    command(QStringLiteral("\"play\", []"));
}

void RuffleFlashControl::stop() {
    if (m_readyState == 0)
        return;
    m_playing = false;
    command(QStringLiteral("\"stop\", [%1]").arg(m_currentFrame));
}

void RuffleFlashControl::gotoFrame(int frame) {
    if (m_readyState == 0)
        return;
    m_currentFrame = std::clamp(frame, 0, std::max(m_totalFrames - 1, 0));
    command(QStringLiteral("\"gotoFrame\", [%1]").arg(m_currentFrame));
}

void RuffleFlashControl::applyVolume(std::uint32_t value) {
    if (m_hostReady)
        page()->runJavaScript(QStringLiteral("lumoraHost.setVolume(%1)").arg(outputLevel(value)));
}

QString RuffleFlashControl::CallFunction(const QString& request) {
    const InvokeRequest invoke = parseInvoke(request);
    if (!m_hostReady || m_readyState == 0)
        throw std::runtime_error("no movie to call");
    struct Outcome {
        bool done = false;
        QVariant value;
    };
    auto outcome = std::make_shared<Outcome>();
    QEventLoop loop;
    QPointer<QEventLoop> guard(&loop);
    page()->runJavaScript(
        QStringLiteral("lumoraHost.call(%1, %2)")
            .arg(jsonText(invoke.name),
                 QString::fromUtf8(QJsonDocument(invoke.arguments).toJson(QJsonDocument::Compact))),
        [outcome, guard](const QVariant& value) {
            outcome->done = true;
            outcome->value = value;
            if (guard)
                guard->quit();
        });
    QTimer::singleShot(kCallTimeoutMs, &loop, &QEventLoop::quit);
    if (!outcome->done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!outcome->done)
        throw std::runtime_error("the movie did not answer in time");
    const QJsonObject answer = QJsonDocument::fromJson(outcome->value.toString().toUtf8()).object();
    if (!answer.value(QLatin1String("ok")).toBool())
        throw std::runtime_error(answer.value(QLatin1String("error")).toString().toStdString());
    if (answer.value(QLatin1String("undefined")).toBool())
        return formatValue(QJsonValue::Undefined);
    return formatValue(answer.value(QLatin1String("value")));
}

void RuffleFlashControl::onFullScreen(QWebEngineFullScreenRequest request) {
    if (request.toggleOn() == isFullScreen()) {
        request.accept();
        return;
    }
    request.accept();
    if (request.toggleOn()) {
        // The view moves to a window of its own; the holder keeps its place in the layout.
        m_fullScreenWindow = new QWidget;
        auto* layout = new QVBoxLayout(m_fullScreenWindow);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_view);
        auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), m_fullScreenWindow);
        connect(esc, &QShortcut::activated, this,
                [this] { page()->triggerAction(QWebEnginePage::ExitFullScreen); });
        // The whole screen also where no window manager enlarges a full-screen window.
        if (QScreen* screen = m_holder ? m_holder->screen() : QGuiApplication::primaryScreen())
            m_fullScreenWindow->setGeometry(screen->geometry());
        m_fullScreenWindow->showFullScreen();
        m_view->setFocus();
    } else {
        leaveFullScreenWindow();
    }
    if (onFullScreenChanged)
        onFullScreenChanged(request.toggleOn());
}

void RuffleFlashControl::leaveFullScreenWindow() {
    m_holder->layout()->addWidget(m_view);
    m_view->show();
    delete std::exchange(m_fullScreenWindow, nullptr);
}

} // namespace lumora
