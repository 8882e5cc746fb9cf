#include "mediasession.h"

#include <QDBusObjectPath>

namespace lumora {
namespace {

constexpr qlonglong kMicroseconds = 1000000;

QString statusText(std::optional<PlayState> state) {
    switch (state.value_or(PlayState::Stopped)) {
    case PlayState::Playing:
        return QStringLiteral("Playing");
    case PlayState::Paused:
        return QStringLiteral("Paused");
    default: // loading is not playing yet: a load that fails stays in it
        return QStringLiteral("Stopped");
    }
}

// Object paths allow only [A-Za-z0-9_] in an element.
QDBusObjectPath trackPath(const QString& id) {
    QString element;
    for (const QChar c : id)
        element += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QLatin1Char('_');
    return QDBusObjectPath(element.isEmpty()
                               ? QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")
                               : QStringLiteral("/org/lumora/channel/programme/p") + element);
}

} // namespace

TransportAction transportActionFor(MediaCommand command, std::optional<PlayState> state) {
    // The play button pauses when playing, resumes when paused and replays when stopped;
    // while loading it is disabled.
    switch (command) {
    case MediaCommand::PlayPause:
        return state == PlayState::Playing || state == PlayState::Paused ||
                       state == PlayState::Stopped
                   ? TransportAction::PlayButton
                   : TransportAction::None;
    case MediaCommand::Play:
        return state == PlayState::Paused || state == PlayState::Stopped
                   ? TransportAction::PlayButton
                   : TransportAction::None;
    case MediaCommand::Pause:
    case MediaCommand::Stop: // the transport bar has no stop; pausing holds the programme
        return state == PlayState::Playing ? TransportAction::PlayButton : TransportAction::None;
    case MediaCommand::Next:
        return state ? TransportAction::Next : TransportAction::None;
    case MediaCommand::Previous:
        return state ? TransportAction::Previous : TransportAction::None;
    }
    return TransportAction::None;
}

MediaSession::MediaSession(TransportHandlers handlers, QObject* parent)
    : QObject(parent), m_handlers(std::move(handlers)) {}

void MediaSession::setPlayState(PlayState state) {
    if (state == m_state)
        return;
    m_state = state;
    emit changed();
}

void MediaSession::setProgramme(const NowPlaying& programme) {
    m_programme = programme;
    m_position = 0;
    m_length = 0;
    emit changed();
}

void MediaSession::setTimes(int positionSeconds, int lengthSeconds) {
    m_position = positionSeconds;
    if (lengthSeconds == m_length)
        return;
    m_length = lengthSeconds;
    emit changed();
}

void MediaSession::command(MediaCommand command) {
    const auto call = [](const std::function<void()>& handler) {
        if (handler)
            handler();
    };
    switch (transportActionFor(command, m_state)) {
    case TransportAction::PlayButton:
        call(m_handlers.playButton);
        break;
    case TransportAction::Next:
        call(m_handlers.next);
        break;
    case TransportAction::Previous:
        call(m_handlers.previous);
        break;
    case TransportAction::None:
        break;
    }
}

void MediaSession::raise() {
    if (m_handlers.raise)
        m_handlers.raise();
}

qlonglong MediaSession::positionMicroseconds() const {
    return m_position * kMicroseconds;
}

QVariantMap MediaSession::playerProperties() const {
    QVariantMap metadata;
    if (hasProgramme()) {
        metadata.insert(QStringLiteral("mpris:trackid"),
                        QVariant::fromValue(trackPath(m_programme.id)));
        metadata.insert(QStringLiteral("xesam:title"), m_programme.name);
        if (m_length > 0)
            metadata.insert(QStringLiteral("mpris:length"), m_length * kMicroseconds);
    }
    const bool active = m_state.has_value();
    return {
        {QStringLiteral("PlaybackStatus"), statusText(m_state)},
        {QStringLiteral("Metadata"), metadata},
        {QStringLiteral("CanGoNext"), active},
        {QStringLiteral("CanGoPrevious"), active},
        {QStringLiteral("CanPlay"), active && m_state != PlayState::Loading},
        {QStringLiteral("CanPause"), active && m_state != PlayState::Loading},
    };
}

QVariantMap changedProperties(const QVariantMap& before, const QVariantMap& after) {
    QVariantMap changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (!before.contains(it.key()) || before.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    return changed;
}

} // namespace lumora
