#include "qtmediaplayer.h"
#include "audiobatch.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

namespace lumora {

namespace {

QUrl sourceUrl(const QString& fileName) {
    const QUrl url(fileName);
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return url;
    return QUrl::fromLocalFile(fileName);
}

constexpr char kRanksVariable[] = "GST_PLUGIN_FEATURE_RANK";
constexpr char kMp3Decoder[] = "mpg123audiodec";

} // namespace

QByteArray withLightMp3Decoder(const QByteArray& ranks) {
    for (const QByteArray& entry : ranks.split(','))
        if (entry.split(':').value(0).trimmed() == kMp3Decoder)
            return ranks;
    const QByteArray ours = QByteArray(kMp3Decoder) + ":MAX";
    return ranks.isEmpty() ? ours : ranks + ',' + ours;
}

void preferLightMp3Decoder() {
    qputenv(kRanksVariable, withLightMp3Decoder(qgetenv(kRanksVariable)));
}

QtMediaPlayer::QtMediaPlayer(ProgramVolume& volume, QObject* parent)
    : QObject(parent), m_volume(volume), m_player(new QMediaPlayer(this)),
      m_output(new QAudioOutput(this)) {
    batchDecodedAudio();
    m_player->setAudioOutput(m_output);
    m_output->setVolume(static_cast<float>(outputLevel(m_volume.read())));
    m_volumeSubscription = m_volume.subscribe([this](std::uint32_t value) {
        m_output->setVolume(static_cast<float>(outputLevel(value)));
    });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::InvalidMedia)
                    fail();
                else if (loaded())
                    onLoaded();
            });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError)
            fail();
    });
}

QtMediaPlayer::~QtMediaPlayer() {
    m_volume.unsubscribe(m_volumeSubscription);
}

void QtMediaPlayer::open() {
    m_failed = false;
    m_stopped = false;
    m_playWhenLoaded = false;
    m_seekWhenLoaded = -1;
    m_opened = true;
    m_player->stop();
    const QUrl url = sourceUrl(m_fileName);
    // A missing file fails at once, as the device refuses to open it.
    if (m_fileName.isEmpty() || (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile())) {
        m_player->setSource(QUrl());
        fail();
        return;
    }
    m_player->setSource(url);
}

void QtMediaPlayer::play() {
    if (m_failed || !m_opened)
        return;
    m_stopped = false;
    if (!loaded()) {
        m_playWhenLoaded = true;
        return;
    }
    m_player->play();
}

void QtMediaPlayer::pause() {
    switch (mode()) {
    case MediaMode::Playing:
        m_player->pause();
        break;
    case MediaMode::Paused:
        m_player->play();
        break;
    case MediaMode::Open:
        m_playWhenLoaded = !m_playWhenLoaded;
        break;
    default:
        break;
    }
}

void QtMediaPlayer::stop() {
    m_playWhenLoaded = false;
    // QMediaPlayer::stop rewinds; the device's stop keeps the position.
    m_stopped = true;
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->pause();
}

void QtMediaPlayer::eject() {
    m_playWhenLoaded = false;
    m_opened = false;
    m_player->stop();
    m_player->setSource(QUrl());
}

void QtMediaPlayer::seek(std::int64_t ms) {
    if (m_failed || !m_opened)
        return;
    if (!loaded()) {
        m_seekWhenLoaded = ms;
        return;
    }
    m_player->setPosition(ms);
}

std::int64_t QtMediaPlayer::length() const {
    return m_failed || !m_opened ? 0 : m_player->duration();
}

std::int64_t QtMediaPlayer::position() const {
    if (m_failed || !m_opened)
        return 0;
    // At the end the device reports the full length, which is how the end is recognised.
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        return length();
    return m_player->position();
}

MediaMode QtMediaPlayer::mode() const {
    if (m_failed || !m_opened)
        return MediaMode::NotReady;
    if (!loaded())
        return MediaMode::Open;
    switch (m_player->playbackState()) {
    case QMediaPlayer::PlayingState:
        return MediaMode::Playing;
    case QMediaPlayer::PausedState:
        return m_stopped ? MediaMode::Stopped : MediaMode::Paused;
    default:
        return MediaMode::Stopped;
    }
}

double QtMediaPlayer::outputVolume() const {
    return m_output->volume();
}

bool QtMediaPlayer::loaded() const {
    switch (m_player->mediaStatus()) {
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::BufferedMedia:
    case QMediaPlayer::EndOfMedia:
        return true;
    default:
        return false;
    }
}

void QtMediaPlayer::onLoaded() {
    if (m_seekWhenLoaded >= 0) {
        m_player->setPosition(m_seekWhenLoaded);
        m_seekWhenLoaded = -1;
    }
    if (m_playWhenLoaded) {
        m_playWhenLoaded = false;
        m_player->play();
    }
}

void QtMediaPlayer::fail() {
    m_failed = true;
    m_playWhenLoaded = false;
    m_seekWhenLoaded = -1;
    m_player->stop();
}

} // namespace lumora
