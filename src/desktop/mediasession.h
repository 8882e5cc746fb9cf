#pragma once

#include "playstate.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace lumora {

// The window's transport handlers the desktop may drive.
struct TransportHandlers {
    std::function<void()> playButton; // btnPlayClick: pause, resume or replay by the state
    std::function<void()> next;       // btnNextClick
    std::function<void()> previous;   // btnPreClick
    std::function<void()> raise;      // show the window
};

// What a desktop command does in a play state (none before the window has shown any).
enum class TransportAction { None, PlayButton, Next, Previous };
enum class MediaCommand { PlayPause, Play, Pause, Stop, Next, Previous };
TransportAction transportActionFor(MediaCommand command, std::optional<PlayState> state);

// The programme being played, as far as the desktop sees it.
struct NowPlaying {
    QString id;
    QString name;
    bool watched = false; // a Flash movie or a video, not audio
};

// Widget-free state of the player for the desktop: fed by the window, driving its handlers,
// and answering the media-player properties of the session bus.
class MediaSession : public QObject {
    Q_OBJECT
public:
    explicit MediaSession(TransportHandlers handlers, QObject* parent = nullptr);

    void setPlayState(PlayState state);
    void setProgramme(const NowPlaying& programme);
    void setTimes(int positionSeconds, int lengthSeconds);

    void command(MediaCommand command);
    void raise();

    std::optional<PlayState> playState() const { return m_state; }
    bool hasProgramme() const { return !m_programme.id.isEmpty() || !m_programme.name.isEmpty(); }
    // A movie or a video plays: the screen should stay awake.
    bool keepsScreenAwake() const { return m_state == PlayState::Playing && m_programme.watched; }
    qlonglong positionMicroseconds() const;

    // The Player interface's properties except Position, which the desktop asks for.
    QVariantMap playerProperties() const;

signals:
    // Some state changed; listeners compare what they publish.
    void changed();

private:
    TransportHandlers m_handlers;
    std::optional<PlayState> m_state; // none until the window shows one
    NowPlaying m_programme;
    int m_position = 0;
    int m_length = 0;
};

// The entries of after that differ from before (or are missing in it).
QVariantMap changedProperties(const QVariantMap& before, const QVariantMap& after);

} // namespace lumora
