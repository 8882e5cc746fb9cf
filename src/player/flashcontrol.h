#pragma once

#include "externalinterfacecaller.h"

#include <QString>

#include <functional>

class QWidget;

namespace lumora {

// The Flash player control as the window drives it: the properties of the original control,
// its frame calls and the external-interface call. Getters answer at once from what the
// control last reported; a command shows in the getters at once.
class FlashControl : public ExternalInterfaceCaller {
public:
    static constexpr int kReadyStateLoaded = 4;
    static constexpr int kScaleExactFit = 2;

    virtual QWidget* widget() = 0;

    // Loads the movie at once; FlashVars set before apply to it.
    virtual void setMovie(const QString& movie) = 0;
    virtual QString movie() const = 0;
    virtual void setFlashVars(const QString& vars) = 0;
    virtual void setLoop(bool loop) = 0;
    virtual void setScaleMode(int mode) = 0;
    virtual void setBackgroundColor(int rgb) = 0;

    // 0..4; 4 once the whole movie arrived. A movie that failed never reaches 4.
    virtual int readyState() const = 0;
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
