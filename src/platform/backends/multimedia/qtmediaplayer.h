#pragma once

#include "mediaplayer.h"
#include "volume.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;

namespace lumora {

// GStreamer's feature ranks (GST_PLUGIN_FEATURE_RANK) with mpg123's MP3 decoder first, unless
// they already rank it.
QByteArray withLightMp3Decoder(const QByteArray& ranks);

// Call before the first player. GStreamer would otherwise decode MP3s with libav, and loading
// libav's libraries on its streaming threads holds the dynamic loader's lock long enough to
// freeze the window when an audio programme starts.
void preferLightMp3Decoder();

// The media player on QMediaPlayer and QAudioOutput (GStreamer). Its name is its objectName,
// and its output follows the program's volume.
class QtMediaPlayer : public QObject, public MediaPlayer {
public:
    QtMediaPlayer(ProgramVolume& volume, QObject* parent = nullptr);
    ~QtMediaPlayer() override;

    QString name() const override { return objectName(); }
    void setName(const QString& name) override { setObjectName(name); }
    void setFileName(const QString& fileName) override { m_fileName = fileName; }
    void open() override;
    void play() override;
    void pause() override;
    void stop() override;
    void eject() override;
    void seek(std::int64_t ms) override;
    std::int64_t length() const override;
    std::int64_t position() const override;
    MediaMode mode() const override;

    double outputVolume() const; // the gain the audio output uses now, 0..1

private:
    bool loaded() const;
    void onLoaded();
    void fail();

    ProgramVolume& m_volume;
    int m_volumeSubscription = 0;
    QMediaPlayer* m_player;
    QAudioOutput* m_output;
    QString m_fileName;
    bool m_failed = false;
    bool m_opened = false;
    bool m_stopped = false; // paused underneath, reported as stopped
    bool m_playWhenLoaded = false;
    std::int64_t m_seekWhenLoaded = -1;
};

class QtMediaPlayerFactory : public MediaPlayerFactory {
public:
    explicit QtMediaPlayerFactory(ProgramVolume& volume) : m_volume(volume) {}
    std::unique_ptr<MediaPlayer> create(QObject* parent) override {
        return std::make_unique<QtMediaPlayer>(m_volume, parent);
    }

private:
    ProgramVolume& m_volume;
};

} // namespace lumora
