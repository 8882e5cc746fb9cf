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
    bool loop = true; // false: the movie stops on its last frame instead of starting over
};

struct SwfInfo {
    int version;
    bool compressed; // "CWS" (zlib); false for "FWS"
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

// Header facts of an FWS or CWS movie; nullopt for anything else (LZMA "ZWS", garbage, damage).
std::optional<SwfInfo> readSwfInfo(const QByteArray& swf);

// AVM1 movies come back with the callbacks above in the same compression as given; without loop
// they also stop on their last frame (empty frames are added when the header declares more frames
// than the movie has, so the last frame reached is the one the header counts). AVM2 movies come
// back unchanged: no callbacks, and they keep looping. Throws SwfError for "ZWS", truncated,
// oversized (over 256 MB inflated) or malformed input.
QByteArray instrumentMovie(const QByteArray& swf, const SwfPatchOptions& options);

} // namespace lumora
