#pragma once

#include "windowsystem.h"

#include <memory>
#include <vector>

namespace lumora {

// Name of the client message by which one copy asks another to show its window restored.
inline constexpr const char* kRestoreMessageAtom = "_LUMORA_RESTORE";

// Window lookup through the X server (libxcb): WM_CLASS, _NET_WM_NAME, _NET_WM_PID.
class X11WindowSystem : public WindowSystem {
public:
    X11WindowSystem();
    ~X11WindowSystem() override;

    std::optional<NativeWindow> findInstanceWindow(const QString& className,
                                                   const QString& programPath) override;
    std::optional<NativeWindow> findWindow(const QString& className, const QString& title) override;
    void restoreAndActivate(NativeWindow window) override;
    void setWindowClass(NativeWindow window, const QString& instanceName,
                        const QString& className) override;

private:
    struct Connection;
    std::unique_ptr<Connection> m_x;
    std::vector<NativeWindow> topLevelWindows();
    QString windowClass(NativeWindow window);
    QString windowTitle(NativeWindow window);
    QString programPath(NativeWindow window);
};

} // namespace lumora
