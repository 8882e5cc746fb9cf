#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace lumora {

using NativeWindow = std::uint32_t;

// Cuts a text as the original's 100-character buffers did (99 characters and a terminator).
QString cutToBuffer(const QString& text);
// File-name part of a program path after the path was cut to the buffer.
QString instanceNameFromPath(const QString& path);

// Top-level window lookup and activation of the desktop's window system.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // A top-level window whose class equals className (case ignored) and whose process runs a
    // program file whose name part equals that of programPath (case ignored, both cut as the
    // original's 100-character buffers cut them). Where several match, the one running the very
    // same file wins: stamped copies of one program file share its name.
    virtual std::optional<NativeWindow> findInstanceWindow(const QString& className,
                                                           const QString& programPath) = 0;
    // A top-level window whose class equals className (case ignored) and whose title is exactly
    // title.
    virtual std::optional<NativeWindow> findWindow(const QString& className,
                                                   const QString& title) = 0;
    // Shows the window restored and brings it to the foreground.
    virtual void restoreAndActivate(NativeWindow window) = 0;
    // Gives one of our own windows its class name, so that other copies can find it.
    virtual void setWindowClass(NativeWindow window, const QString& instanceName,
                                const QString& className) = 0;
};

} // namespace lumora
