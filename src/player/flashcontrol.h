#pragma once

#include "externalinterfacecaller.h"

#include <QString>

#include <functional>

class QWidget;

namespace lumora {

// The control's ready state, numbered as the original control numbers it: nothing loaded (no
// movie, or one that failed), loading, interactive (playing while the rest arrives), and
// complete once the whole movie arrived. This control never reports the original's 2.
enum class FlashReadyState { Uninitialised = 0, Loading = 1, Interactive = 3, Complete = 4 };

// The Flash player control as the window drives it: the properties of the original control,
// its frame calls and the external-interface call. Getters answer at once from what the
// control last reported; a command shows in the getters at once.
class FlashControl : public ExternalInterfaceCaller {
public:
    static constexpr int kScaleExactFit = 2;

    virtual QWidget* widget() = 0;

    // Loads the movie at once; FlashVars set before apply to it.
    virtual void setMovie(const QString& movie) = 0;
    virtual QString movie() const = 0;
    virtual void setFlashVars(const QString& vars) = 0;
    virtual void setLoop(bool loop) = 0;
    virtual void setScaleMode(int mode) = 0;
    virtual void setBackgroundColor(int rgb) = 0;

    // A movie that failed never becomes complete.
    virtual FlashReadyState readyState() const = 0;
    virtual int totalFrames() const = 0;
    virtual int currentFrame() const = 0; // FrameNum: counted from 0
    virtual bool isPlaying() const = 0;
    virtual void play() = 0;
    virtual void stop() = 0; // holds the current frame
    virtual void gotoFrame(int frame) = 0;

    // Told when the control enters or leaves full screen by itself (the player movie's button,
    // Esc).
    std::function<void(bool fullScreen)> onFullScreenChanged;
};

} // namespace lumora
