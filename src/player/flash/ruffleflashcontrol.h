#pragma once

#include "flashcontrol.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QWebEngineFullScreenRequest;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace lumora {

class FlashPageBridge;
class ProgramVolume;

// The Flash player control on the Ruffle emulator in a web view. One host page is loaded once
// and every movie is handed to it as bytes; the page pushes its state back through a web
// channel, and the getters answer from that mirror.
class RuffleFlashControl : public QObject, public FlashControl {
    Q_OBJECT
public:
    // Rewrites a movie before it plays (adds the frame callbacks); may throw, and then the
    // movie plays as it came.
    using MoviePatcher = std::function<QByteArray(const QByteArray& swf, bool loop)>;

    static constexpr int kCallTimeoutMs = 2000;

    // Adds the frame callbacks to ActionScript 1/2 movies; throws for the rest.
    static QByteArray instrument(const QByteArray& swf, bool loop);

    // ruffleDir holds ruffle.js; volume must outlive the control. Movies pass through
    // instrument() unless setMoviePatcher says otherwise.
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
    int readyState() const override { return m_readyState; }
    int totalFrames() const override { return m_totalFrames; }
    int currentFrame() const override { return m_currentFrame; }
    bool isPlaying() const override { return m_playing; }
    void play() override;
    void stop() override;
    void gotoFrame(int frame) override;
    // Throws std::invalid_argument for a malformed request and std::runtime_error when no
    // movie answers (no such callback, no movie, timeout).
    QString CallFunction(const QString& request) override;

    QWebEnginePage* page() const;
    bool isHostReady() const { return m_hostReady; }
    bool isFullScreen() const { return m_fullScreenWindow != nullptr; }
    // True when the movie playing now answers the frame callbacks (exact frames).
    bool framesExact() const { return m_framesExact; }

private:
    QUrl hostUrl() const;
    void loadHost();
    void recoverHost();
    void startLoad(quint64 load);
    void deliver(quint64 load, const QByteArray& bytes);
    void sendMovie(const QByteArray& bytes, bool instrumented);
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
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
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
    QByteArray m_pendingBytes;
    bool m_pendingInstrumented = false;
    bool m_complete = false; // the movie's bytes are a whole SWF
    bool m_framesExact = false;

    int m_readyState = 0;
    int m_totalFrames = 0;
    int m_currentFrame = 0;
    bool m_playing = false;
};

} // namespace lumora
