// The players of the kinds of programme.
#include "flashcontrol.h"
#include "flvplayer.h"
#include "lumoraplay.h"
#include "mediaplayer.h"
#include "playlist.h"
#include "programmeplayer.h"
#include "rounding.h"

namespace lumora {
namespace {

int wholeSeconds(std::int64_t ms) {
    return roundHalfEven(ms / 1000.0).value_or(0);
}

// A Flash movie, read only once the whole of it arrived.
class FlashMoviePlayer : public ProgrammePlayer {
public:
    explicit FlashMoviePlayer(FlashControl& flash) : m_flash(flash) {}

    PlayerSurface surface() const override { return PlayerSurface::FlashView; }
    FullScreenWay fullScreen() const override { return FullScreenWay::Window; }
    KnobUnit unit() const override { return KnobUnit::Frames; }
    QString extension() const override { return QStringLiteral(".swf"); }

    Outcome<std::optional<PlayState>> start(const Source& source) override {
        m_flash.setBackgroundColor(0);
        m_flash.setScaleMode(FlashControl::kScaleExactFit);
        // Loop goes first as well: the emulator needs it before the movie loads.
        m_flash.setLoop(false);
        const Outcome<QString> movie = source();
        if (!movie)
            return movie.failure();
        m_flash.setMovie(*movie);
        m_flash.setLoop(false);
        return std::nullopt;
    }
    std::optional<PlayerReading> read() override {
        if (!loaded())
            return std::nullopt;
        PlayerReading reading;
        // A loaded movie that does not play has stopped itself, to wait for a click, or was
        // paused: either way it shows paused, not loading with the play button off for good.
        reading.state = m_flash.isPlaying() ? PlayState::Playing : PlayState::Paused;
        reading.total = m_flash.totalFrames();
        return reading;
    }
    int position() override { return m_flash.currentFrame(); }
    bool ended(const PlayerReading& reading, int) const override {
        return isFlashMovieEnded(m_flash.currentFrame(), reading.total.value_or(0));
    }
    std::optional<PlayerReading> seekable() override {
        if (!loaded())
            return std::nullopt;
        return PlayerReading{.state = std::nullopt, .total = m_flash.totalFrames()};
    }
    void seek(int position, bool resume) override {
        m_flash.gotoFrame(position);
        if (resume)
            m_flash.play();
    }
    void playPause(bool pause) override { pause ? m_flash.stop() : m_flash.play(); }

private:
    bool loaded() const { return m_flash.readyState() == FlashReadyState::Complete; }

    FlashControl& m_flash;
};

// A video, played by the player movie inside the Flash control; it acts only while the movie
// plays or pauses.
class VideoPlayer : public ProgrammePlayer {
public:
    VideoPlayer(FlashControl& flash, QString playerMovie)
        : m_flash(flash), m_playerMovie(std::move(playerMovie)) {}

    PlayerSurface surface() const override { return PlayerSurface::FlashView; }
    FullScreenWay fullScreen() const override { return FullScreenWay::PlayerMovie; }
    KnobUnit unit() const override { return KnobUnit::Seconds; }
    QString extension() const override { return QStringLiteral(".flv"); }

    Outcome<std::optional<PlayState>> start(const Source& source) override {
        const Outcome<QString> file = source();
        if (!file)
            return file.failure();
        m_flash.setFlashVars(flvPlayerVars(*file));
        m_flash.setLoop(false);
        m_flash.setMovie(m_playerMovie);
        m_flash.setLoop(false);
        return std::nullopt;
    }
    std::optional<PlayerReading> read() override {
        const std::optional<MoviePlayState> state = flvMoviePlayState(m_flash);
        if (!state)
            return std::nullopt;
        switch (*state) {
        case MoviePlayState::Playing:
            return PlayerReading{.state = PlayState::Playing, .total = flvGetDuration(m_flash)};
        case MoviePlayState::Paused:
            return PlayerReading{.state = PlayState::Paused, .total = std::nullopt};
        case MoviePlayState::Stopped:
            break;
        }
        return PlayerReading{.state = PlayState::Stopped, .total = std::nullopt};
    }
    int position() override { return flvGetPosition(m_flash); }
    bool ended(const PlayerReading& reading, int) const override {
        return reading.state == PlayState::Stopped;
    }
    std::optional<PlayerReading> seekable() override {
        const std::optional<MoviePlayState> state = flvMoviePlayState(m_flash);
        if (!state || *state == MoviePlayState::Stopped)
            return std::nullopt;
        return PlayerReading{.state = PlayState::Playing, .total = flvGetDuration(m_flash)};
    }
    void seek(int position, bool) override { flvSeek(m_flash, position); }
    void playPause(bool) override { flvPlayPause(m_flash); }

private:
    FlashControl& m_flash;
    QString m_playerMovie;
};

// An MP3 on the window's hidden audio device.
class AudioTrackPlayer : public ProgrammePlayer {
public:
    explicit AudioTrackPlayer(AudioDevice device) : m_device(std::move(device)) {}

    PlayerSurface surface() const override { return PlayerSurface::AudioPage; }
    FullScreenWay fullScreen() const override { return FullScreenWay::Refused; }
    KnobUnit unit() const override { return KnobUnit::Seconds; }
    QString extension() const override { return QStringLiteral(".mp3"); }
    bool isTrack() const override { return true; }

    Outcome<std::optional<PlayState>> start(const Source& source) override {
        const Outcome<QString> file = source();
        if (!file)
            return file.failure();
        m_device.create();
        MediaPlayer& player = *m_device.current();
        player.setFileName(*file);
        player.open();
        player.play();
        return std::nullopt;
    }
    void leave() override { m_device.close(); }
    std::optional<PlayerReading> read() override {
        MediaPlayer* player = m_device.current();
        if (!player)
            return std::nullopt;
        const int total = wholeSeconds(player->length());
        PlayerReading reading{.state = std::nullopt, .total = total};
        if (player->mode() == MediaMode::Playing)
            reading.state = PlayState::Playing;
        return reading;
    }
    int position() override { return wholeSeconds(m_device.current()->position()); }
    bool ended(const PlayerReading& reading, int position) const override {
        const int total = reading.total.value_or(0);
        return position == total && total > 0;
    }
    std::optional<PlayerReading> seekable() override {
        MediaPlayer* player = m_device.current();
        if (!player)
            return std::nullopt;
        return PlayerReading{.state = std::nullopt, .total = wholeSeconds(player->length())};
    }
    void seek(int position, bool resume) override {
        MediaPlayer& player = *m_device.current();
        player.seek(std::int64_t(position) * 1000);
        if (resume)
            player.play();
    }
    void playPause(bool pause) override {
        if (MediaPlayer* player = m_device.current())
            pause ? player->pause() : player->play();
    }

private:
    AudioDevice m_device;
};

// A programme that plays nothing (a text): the blanked player, stopped, not loading for ever.
class SilentPlayer : public ProgrammePlayer {
public:
    PlayerSurface surface() const override { return PlayerSurface::FlashView; }
    FullScreenWay fullScreen() const override { return FullScreenWay::None; }
    KnobUnit unit() const override { return KnobUnit::Seconds; }
    QString extension() const override { return QString(); } // it plays no file

    Outcome<std::optional<PlayState>> start(const Source&) override { return PlayState::Stopped; }
    std::optional<PlayerReading> read() override { return std::nullopt; }
    int position() override { return 0; }
    bool ended(const PlayerReading&, int) const override { return false; }
    std::optional<PlayerReading> seekable() override { return std::nullopt; }
    void seek(int, bool) override {}
    void playPause(bool) override {}
};

} // namespace

std::unique_ptr<ProgrammePlayer> makeProgrammePlayer(const QString& type, PlayerParts parts) {
    if (type == ProgrammeType::Flash)
        return std::make_unique<FlashMoviePlayer>(parts.flash);
    if (type == ProgrammeType::Video)
        return std::make_unique<VideoPlayer>(parts.flash, std::move(parts.playerMovie));
    if (type == ProgrammeType::Audio)
        return std::make_unique<AudioTrackPlayer>(std::move(parts.audio));
    return std::make_unique<SilentPlayer>();
}

} // namespace lumora
