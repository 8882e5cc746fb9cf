#include "ruffleflashcontrol.h"

#include "externalinterfacexml.h"
#include "flashpagebridge.h"
#include "hostpage.h"
#include "moviefetch.h"
#include "moviesource.h"
#include "resourcetext.h"
#include "swfpatch.h"
#include "volume.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <memory>
#include <stdexcept>

namespace lumora {
namespace {

Q_LOGGING_CATEGORY(lcFlash, "lumora.flash")

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

PreparedMovie RuffleFlashControl::prepare(const QByteArray& swf, bool loop) {
    static const QByteArray shell = [] {
        QFile file(QStringLiteral(":/lumora/flash/as3shell.swf"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    return prepareMovie(swf, SwfPatchOptions{.loop = loop, .avm2Shell = shell});
}

RuffleFlashControl::RuffleFlashControl(const QString& ruffleDir, ProgramVolume& volume,
                                       QWidget* parent)
    : m_volume(volume), m_patcher(&RuffleFlashControl::prepare), m_ruffleDir(ruffleDir),
      m_holder(new QWidget(parent)), m_view(new QWebEngineView(m_holder)),
      m_profile(new QWebEngineProfile(this)),
      m_bridge(new FlashPageBridge([this](const QJsonObject& s) { onReport(s); }, this)),
      m_fetch(new MovieFetch(this)) {
    m_holder->setObjectName(QStringLiteral("ShockwaveFlash1"));
    auto* layout = new QVBoxLayout(m_holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    auto* page = new HostPage(m_profile, m_view);
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
                 resourceText(QStringLiteral(":/lumora/flash/audio.js")) +
                     resourceText(QStringLiteral(":/lumora/flash/stillframes.js")) +
                     resourceText(QStringLiteral(":/lumora/flash/frames.js")) +
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
    m_replies.clear();
    m_readyState = FlashReadyState::Uninitialised;
    m_totalFrames = 0;
    m_currentFrame = 0;
    m_playing = false;
    m_framesExact = false;
    m_complete = false;
    m_pendingLoad = 0;
    m_pending = {};
    m_pendingInstrumented = false;
    m_fetch->cancel();
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
    m_fetch->fetch(source.url, source.remote, [this, load](std::optional<QByteArray> bytes) {
        if (load != m_load)
            return;
        if (!bytes)
            return failLoad();
        deliver(load, *bytes);
    });
}

void RuffleFlashControl::failLoad() {
    m_readyState = FlashReadyState::Uninitialised;
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
    PreparedMovie prepared{original, {}, MovieShell::None};
    bool instrumented = false;
    if (m_patcher) {
        try {
            prepared = m_patcher(original, m_loop);
            instrumented = true;
        } catch (const std::exception& e) {
            qCWarning(lcFlash) << "movie" << m_movie
                               << "plays without its timeline, frames follow the clock:"
                               << e.what();
        }
    }
    m_readyState = FlashReadyState::Loading;
    m_playing = true;
    if (!m_hostReady) {
        m_pendingLoad = load;
        m_pending = std::move(prepared);
        m_pendingInstrumented = instrumented;
        return;
    }
    sendMovie(prepared, instrumented);
}

void RuffleFlashControl::sendMovie(const PreparedMovie& prepared, bool instrumented) {
    const MovieSource source = resolveMovie(m_movie);
    QString parameters = movieParameters(source.query, m_flashVars);
    QString address;
    if (!prepared.content.isEmpty()) {
        // The shell asks for the content at its own address, which the page answers itself;
        // the content reads its parameters from that address, as when it came alone.
        QUrl url = source.url;
        if (!parameters.isEmpty())
            url.setQuery(parameters);
        address = url.toString(QUrl::FullyEncoded);
        parameters = movieParameters(
            parameters, QStringLiteral("%1=%2&%3=%4")
                            .arg(QLatin1String(kShellMovieParameter),
                                 QString::fromLatin1(QUrl::toPercentEncoding(address)),
                                 QLatin1String(kShellLoopParameter), m_loop ? "1" : "0"));
    }
    QJsonObject options{
        {"instrumented", instrumented},
        {"address", address},
        {"local", !source.remote},
        {"loop", m_loop},
        {"playing", m_playing},
        {"parameters", parameters},
        {"base", source.base.toString(QUrl::FullyEncoded)},
        {"name", source.url.fileName()},
        {"scale", scaleName(m_scaleMode)},
        {"backgroundColor", m_backgroundColor < 0
                                ? QJsonValue(QJsonValue::Null)
                                : QJsonValue(QStringLiteral("#%1").arg(m_backgroundColor & 0xFFFFFF,
                                                                       6, 16, QLatin1Char('0')))},
    };
    command(QStringLiteral("\"load\", [%1, \"%2\", \"%3\"]")
                .arg(jsonText(options), QString::fromLatin1(prepared.movie.toBase64()),
                     QString::fromLatin1(prepared.content.toBase64())));
}

void RuffleFlashControl::onReport(const QJsonObject& state) {
    if (state.value(QLatin1String("host")).toString() == QLatin1String("ready")) {
        m_hostReady = true;
        applyVolume(m_volume.read());
        if (m_pendingLoad == m_load && m_pendingLoad != 0) {
            m_pendingLoad = 0;
            sendMovie(std::exchange(m_pending, {}), m_pendingInstrumented);
        }
        return;
    }
    // A report written before the last command would undo what that command showed.
    if (static_cast<quint64>(state.value(QLatin1String("seq")).toDouble()) != m_sequence ||
        m_readyState == FlashReadyState::Uninitialised)
        return;
    const int ruffle = state.value(QLatin1String("ruffle")).toInt();
    const bool meta = state.value(QLatin1String("meta")).toBool();
    const int total = std::max(state.value(QLatin1String("total")).toInt(), 0);
    if (ruffle == 2 && meta && total > 0)
        m_readyState = m_complete ? FlashReadyState::Complete : FlashReadyState::Interactive;
    else
        m_readyState = ruffle >= 1 ? FlashReadyState::Interactive : FlashReadyState::Loading;
    m_totalFrames = total;
    m_currentFrame =
        std::clamp(state.value(QLatin1String("frame")).toInt(), 0, std::max(total - 1, 0));
    m_playing = state.value(QLatin1String("playing")).toBool();
    m_framesExact = state.value(QLatin1String("exact")).toBool();
}

void RuffleFlashControl::play() {
    if (m_readyState == FlashReadyState::Uninitialised)
        return;
    m_playing = true;
    command(QStringLiteral("\"play\", []"));
}

void RuffleFlashControl::stop() {
    if (m_readyState == FlashReadyState::Uninitialised)
        return;
    m_playing = false;
    command(QStringLiteral("\"stop\", [%1]").arg(m_currentFrame));
}

void RuffleFlashControl::gotoFrame(int frame) {
    if (m_readyState == FlashReadyState::Uninitialised)
        return;
    m_currentFrame = std::clamp(frame, 0, std::max(m_totalFrames - 1, 0));
    command(QStringLiteral("\"gotoFrame\", [%1]").arg(m_currentFrame));
}

void RuffleFlashControl::applyVolume(std::uint32_t value) {
    if (m_hostReady)
        page()->runJavaScript(QStringLiteral("lumoraHost.setVolume(%1)").arg(outputLevel(value)));
}

Outcome<QString> RuffleFlashControl::CallFunction(const QString& request) {
    const Outcome<InvokeRequest> invoke = parseInvoke(request);
    if (!invoke)
        return invoke.failure();
    if (!m_hostReady || m_readyState == FlashReadyState::Uninitialised)
        return Failure{QStringLiteral("no movie to call")};
    const QString arguments =
        QString::fromUtf8(QJsonDocument(invoke->arguments).toJson(QJsonDocument::Compact));
    const QString key = invoke->name + QLatin1Char('\n') + arguments;
    // The call goes out now; its answer is kept for the next time the same is asked.
    const QPointer<RuffleFlashControl> self(this);
    page()->runJavaScript(
        QStringLiteral("lumoraHost.call(%1, %2)").arg(jsonText(invoke->name), arguments),
        [self, load = m_load, key](const QVariant& value) {
            if (self && load == self->m_load)
                self->keepReply(key, value.toString());
        });
    const auto found = m_replies.constFind(key);
    if (found == m_replies.cend())
        return Failure{QStringLiteral("the movie has not answered yet")};
    if (!found->ok)
        return Failure{found->text};
    return found->text;
}

void RuffleFlashControl::keepReply(const QString& key, const QString& answerJson) {
    const QJsonObject answer = QJsonDocument::fromJson(answerJson.toUtf8()).object();
    if (!answer.value(QLatin1String("ok")).toBool()) {
        m_replies.insert(key, {false, answer.value(QLatin1String("error")).toString()});
        return;
    }
    m_replies.insert(key, {true, answer.value(QLatin1String("undefined")).toBool()
                                     ? formatValue(QJsonValue::Undefined)
                                     : formatValue(answer.value(QLatin1String("value")))});
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
