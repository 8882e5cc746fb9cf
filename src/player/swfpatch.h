#pragma once

#include <QByteArray>

#include <optional>
#include <stdexcept>

namespace lumora {

// Thrown for a movie we cannot read or rewrite; the caller then plays the original bytes.
class SwfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SwfPatchOptions {
    bool loop = true;     // false: the movie stops on its last frame instead of starting over
    QByteArray avm2Shell; // the built ActionScript 3 shell movie; empty: none
};

struct SwfInfo {
    int version;
    bool compressed; // "CWS" (zlib) or "ZWS" (LZMA); false for "FWS"
    bool lzma;       // "ZWS"
    bool avm2;       // ActionScript 3: FileAttributes flag or a DoABC tag
    int frameCount;  // as the header declares it
    double frameRate;
    int width; // pixels, from the stage rectangle
    int height;
};

// The names the emulator calls on an instrumented AVM1 movie (through its external interface):
//   lumoraFrame()         -> current frame, 1-based
//   lumoraTotal()         -> total frames
//   lumoraGoto(n, play)   -> go to frame n (1-based), then play (true) or hold it (false)
//   lumoraPlay(), lumoraStop() (stop holds the current frame)
//   lumoraIsPlaying()     -> whether the timeline is playing, as tracked by the added scripts:
//                            the calls above, the hold on the last frame and plain stop()/play()
//                            in frame scripts; stops made through method calls go unseen
inline constexpr const char* kSwfCallbackFrame = "lumoraFrame";
inline constexpr const char* kSwfCallbackTotal = "lumoraTotal";
inline constexpr const char* kSwfCallbackGoto = "lumoraGoto";
inline constexpr const char* kSwfCallbackPlay = "lumoraPlay";
inline constexpr const char* kSwfCallbackStop = "lumoraStop";
inline constexpr const char* kSwfCallbackIsPlaying = "lumoraIsPlaying";

// The parameters that tell a shell movie the address of its content and whether it loops ("1"
// or "0"); the ActionScript 1/2 shell leaves the hold to the content's own added scripts.
inline constexpr const char* kShellMovieParameter = "lumoraMovie";
inline constexpr const char* kShellLoopParameter = "lumoraLoop";

enum class MovieShell {
    None, // the movie itself answers the callbacks
    Avm1, // an ActionScript 1/2 shell loads it into a clip with _lockroot set
    Avm2, // the ActionScript 3 shell loads it into a fresh application domain
};

// What the emulator is handed for a movie.
struct PreparedMovie {
    QByteArray movie;   // loaded first: the instrumented movie or a shell
    QByteArray content; // with a shell: the bytes it loads from its kShellMovieParameter address
    MovieShell shell = MovieShell::None;
};

// Header facts of an FWS, CWS or ZWS movie; nullopt for anything else (garbage, damage).
std::optional<SwfInfo> readSwfInfo(const QByteArray& swf);

// AVM1 movies come back with the callbacks above in the same compression as given (ZWS as CWS),
// whatever their version; without loop
// they also stop on their last frame (empty frames are added when the header declares more frames
// than the movie has, so the last frame reached is the one the header counts). AVM2 movies come
// back unchanged: no callbacks, and they keep looping. Throws SwfError for truncated,
// oversized (over 256 MB inflated) or malformed input.
QByteArray instrumentMovie(const QByteArray& swf, const SwfPatchOptions& options);

// Every movie keeps its own SWF version. ActionScript 1/2 movies of version 8 on are
// instrumented in place; older ones, whose code would follow other rules at version 8, play
// in an ActionScript 1/2 shell of version 8 (the content gets the play-state tracking and the
// hold, not the callbacks); ActionScript 3 movies play in options.avm2Shell. Shells take the
// content's stage, frame rate and frame count. LZMA movies come back zlib-compressed, ActionScript
// 3 content as given. Throws SwfError for what nothing can instrument (damage, ActionScript 3
// without a shell).
PreparedMovie prepareMovie(const QByteArray& swf, const SwfPatchOptions& options);

// The ActionScript 1/2 shell for content (version max(8, content's), one frame).
QByteArray avm1Shell(const QByteArray& content);
// shell with the content's stage rectangle, frame rate, frame count and background.
QByteArray avm2Shell(const QByteArray& shell, const QByteArray& content);

} // namespace lumora
