#pragma once

#include <QString>

#include <cstdint>
#include <memory>

class QObject;

namespace lumora {

// What the media player reports it is doing, as the MCI device reports its mode.
enum class MediaMode {
    NotReady, // nothing opened, released, or the media failed to open
    Open,     // opened, still loading
    Stopped,
    Playing,
    Paused,
};

// The hidden audio player: a media device with MCI semantics. Times are in milliseconds.
class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    virtual QString name() const = 0;
    virtual void setName(const QString& name) = 0;

    // A local path or an http(s) address; takes effect at the next open().
    virtual void setFileName(const QString& fileName) = 0;
    // Opens the file with the device its content calls for. Failure is quiet: the mode
    // becomes NotReady and never Playing.
    virtual void open() = 0;
    // Plays from the current position; before the media has loaded, it starts once loaded.
    virtual void play() = 0;
    // Pauses when playing and resumes when paused.
    virtual void pause() = 0;
    // Stops where it is (the position stays).
    virtual void stop() = 0;
    // Releases the media; the player itself stays usable for another open().
    virtual void eject() = 0;
    virtual void seek(std::int64_t ms) = 0;

    virtual std::int64_t length() const = 0; // 0 until known
    virtual std::int64_t position() const = 0;
    virtual MediaMode mode() const = 0;
};

// Creates media players for the main window, which makes and drops them repeatedly.
class MediaPlayerFactory {
public:
    virtual ~MediaPlayerFactory() = default;
    // parent places the player in the window's object tree (for its name); the caller's
    // pointer owns it and must be dropped before the parent is destroyed.
    virtual std::unique_ptr<MediaPlayer> create(QObject* parent) = 0;
};

} // namespace lumora
