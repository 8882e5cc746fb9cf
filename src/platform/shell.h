#pragma once

#include <QString>

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

} // namespace lumora
