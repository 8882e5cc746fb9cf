#pragma once

#include <QString>

namespace lumora {

// The session-bus name the running copy of an edition holds, named by its mutex name.
inline QString editionBusName(const QString& mutexName) {
    return QStringLiteral("invalid.lumora.channel.") + mutexName;
}

// Reaches the running copy of an edition where the window system cannot find its window
// (Wayland lets no program look at another's windows).
class RunningCopyLink {
public:
    virtual ~RunningCopyLink() = default;
    // Asks the copy holding the edition's mutex to show its window; false when none answers.
    virtual bool askToShow(const QString& mutexName) = 0;
};

} // namespace lumora
