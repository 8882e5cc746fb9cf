#pragma once

#include <QString>

namespace lumora {

// Keeps the desktop's screen saver away while something is watched.
class ScreenSaverInhibitor {
public:
    virtual ~ScreenSaverInhibitor() = default;
    // Asks the desktop not to start the screen saver; a second call while held does nothing.
    virtual void inhibit(const QString& reason) = 0;
    // Gives the request back; nothing when none is held.
    virtual void release() = 0;
};

} // namespace lumora
