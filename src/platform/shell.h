#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace lumora {

// The desktop's "open" verb for addresses and programs.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens an address in the user's default browser.
    virtual void openUrl(const QString& address) = 0;
    // Starts a program file in a normal window; false when it could not be started.
    virtual bool startProgram(const QString& path) = 0;
};

// The address openUrl hands to the desktop, or nothing. The addresses come from settings files
// and site pages: a local file or folder is refused, since the desktop would open it with
// whatever it is associated with, and a program or launcher would run.
std::optional<QUrl> externalAddress(const QString& address);

} // namespace lumora
