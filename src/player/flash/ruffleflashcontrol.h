#pragma once

#include "flashcontrol.h"
#include "swfpatch.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWebEngineFullScreenRequest;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace lumora {

class FlashPageBridge;
class MovieFetch;
class ProgramVolume;

// The Flash player control on the Ruffle emulator in a web view. One host page is loaded once
// and every movie is handed to it as bytes; the page pushes its state back through a web
// channel, and the getters answer from that mirror.
class RuffleFlashControl : public QObject, public FlashControl {
    Q_OBJECT
public:
    // Readies a movie to answer the frame callbacks (instrumented or in a shell); may throw,
    // and then the movie plays as it came, its frames following the clock.
    using MoviePatcher = std::function<PreparedMovie(const QByteArray& swf, bool loop)>;

    // prepareMovie with the built ActionScript 3 shell.
    static PreparedMovie prepare(const QByteArray& swf, bool loop);

    // ruffleDir holds ruffle.js; volume must outlive the control. Movies pass through
    // prepare() unless setMoviePatcher says otherwise.
    RuffleFlashControl(const QString& ruffleDir, ProgramVolume& volume, QWidget* parent = nullptr);
    ~RuffleFlashControl() override;

    void setMoviePatcher(MoviePatcher patcher) { m_patcher = std::move(patcher); }

    QWidget* widget() override;
    void setMovie(const QString& movie) override;
    QString movie() const override { return m_movie; }
    void setFlashVars(const QString& vars) override { m_flashVars = vars; }
    void setLoop(bool loop) override { m_loop = loop; }
    void setScaleMode(int mode) override { m_scaleMode = mode; }
    void setBackgroundColor(int rgb) override { m_backgroundColor = rgb; }
    FlashReadyState readyState() const override { return m_readyState; }
    int totalFrames() const override { return m_totalFrames; }
    int currentFrame() const override { return m_currentFrame; }
    bool isPlaying() const override { return m_playing; }
    void play() override;
    void stop() override;
    void gotoFrame(int frame) override;
    // Never waits for the movie: the request goes to the page, and the answer is the movie's
    // reply to the same request made earlier during this movie. Throws std::invalid_argument
    // for a malformed request, std::runtime_error while no reply is in (no movie, the first
    // call) or when the movie refused the call.
    Outcome<QString> CallFunction(const QString& request) override;

    QWebEnginePage* page() const;
    bool isHostReady() const { return m_hostReady; }
    bool isFullScreen() const { return m_fullScreenWindow != nullptr; }
    // True when the movie playing now answers the frame callbacks (exact frames).
    bool framesExact() const { return m_framesExact; }

private:
    void keepReply(const QString& key, const QString& answerJson);
    QUrl hostUrl() const;
    void loadHost();
    void recoverHost();
    void startLoad(quint64 load);
    void deliver(quint64 load, const QByteArray& bytes);
    void sendMovie(const PreparedMovie& prepared, bool instrumented);
    void onReport(const QJsonObject& state);
    void onFullScreen(QWebEngineFullScreenRequest request);
    void leaveFullScreenWindow();
    void applyVolume(std::uint32_t value);
    void command(const QString& call); // a state-changing call to the page, numbered
    void failLoad();

    ProgramVolume& m_volume;
    int m_volumeListener = 0;
    MoviePatcher m_patcher;
    QString m_ruffleDir;
    QPointer<QWidget> m_holder; // may belong to the window
    QWebEngineView* m_view;
    QWebEngineProfile* m_profile;
    FlashPageBridge* m_bridge;
    MovieFetch* m_fetch;
    QWidget* m_fullScreenWindow = nullptr;

    QString m_movie;
    QString m_flashVars;
    bool m_loop = true;
    int m_scaleMode = 0;
    int m_backgroundColor = -1;

    bool m_hostReady = false;
    quint64 m_load = 0;        // advanced by every setMovie
    quint64 m_sequence = 0;    // of the last state-changing call sent to the page
    quint64 m_pendingLoad = 0; // a load waiting for the host page
    PreparedMovie m_pending;
    bool m_pendingInstrumented = false;
    bool m_complete = false; // the movie's bytes are a whole SWF
    bool m_framesExact = false;

    FlashReadyState m_readyState = FlashReadyState::Uninitialised;
    int m_totalFrames = 0;
    int m_currentFrame = 0;
    bool m_playing = false;

    struct Reply {
        bool ok;
        QString text; // the formatted reply, or why the movie refused
    };
    QHash<QString, Reply> m_replies; // by request, for the movie of m_load
};

} // namespace lumora
