#pragma once

#include "outcome.h"
#include "playstate.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace lumora {

class FlashControl;
class MediaPlayer;

// Where a programme shows: the Flash control's view, or the audio page beside the hidden device.
enum class PlayerSurface { FlashView, AudioPage };

// The unit of the knob's position and of the times: movie frames or whole seconds.
enum class KnobUnit { Frames, Seconds };

// What the full-screen button does: nothing, press the player movie's own button, let the
// window cover the screen around the control, or refuse with a notice.
enum class FullScreenWay { None, PlayerMovie, Window, Refused };

// What the tick or a seek reads from the player before it acts.
struct PlayerReading {
    std::optional<PlayState> state; // to show, when the player tells one
    std::optional<int> total;       // set when the knob and the times follow the player now
};

// The window's hidden audio device: it outlives the programmes and is remade when an audio
// programme is left.
struct AudioDevice {
    std::function<MediaPlayer*()> current; // null while there is none
    std::function<void()> create;          // makes one when there is none
    std::function<void()> close;           // releases it and makes the next
};

// What the players play on.
struct PlayerParts {
    FlashControl& flash;
    AudioDevice audio;
    QString playerMovie; // the movie that plays videos in the Flash control
};

// One kind of programme as the window plays it: its start, what the one-second tick and the
// transport bar read from it, and the commands they give it. A start whose source cannot be
// had fails as a value; a player that does not answer reads as nothing to show.
class ProgrammePlayer {
public:
    virtual ~ProgrammePlayer() = default;

    virtual PlayerSurface surface() const = 0;
    virtual FullScreenWay fullScreen() const = 0;
    virtual KnobUnit unit() const = 0;
    // The extension of its files in the cache and the download folder.
    virtual QString extension() const = 0;
    // The audio track's transport: the knob is placed again where it was dragged or clicked
    // to, the load bar reaches at least the knob, and a click on the load bar leaves the times
    // to the next tick.
    virtual bool isTrack() const { return false; }

    // Starts the programme; `source` is asked for only by a kind that plays a file, and its
    // failure ends the start there. Answers the state to show at once, if any.
    using Source = std::function<Outcome<QString>()>;
    virtual Outcome<std::optional<PlayState>> start(const Source& source) = 0;
    // Leaves the programme before the next one starts.
    virtual void leave() {}

    // For the tick; none when there is nothing to show yet.
    virtual std::optional<PlayerReading> read() = 0;
    // Where it plays now, in the knob's unit; asked only while the reading has a total.
    virtual int position() = 0;
    // After the tick acted on `reading`, the knob standing at `position`.
    virtual bool ended(const PlayerReading& reading, int position) const = 0;

    // For a click on the load bar; none when it cannot seek now.
    virtual std::optional<PlayerReading> seekable() = 0;
    // Moves to `position` in the knob's unit; `resume` plays on where the kind does that.
    virtual void seek(int position, bool resume) = 0;
    virtual void playPause(bool pause) = 0;
};

// The player of a programme type (ProgrammeType); a type that plays nothing gets one that
// stays stopped.
std::unique_ptr<ProgrammePlayer> makeProgrammePlayer(const QString& type, PlayerParts parts);

} // namespace lumora
