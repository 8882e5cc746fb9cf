#pragma once

#include "engine.h"

#include <QString>

#include <cstdint>

namespace lumora {

// Signs the client in through the engine once, in the background. Create it with new: it starts
// at once, calls ClientLoginIn on a thread of its own, drops any failure and deletes itself. Nobody
// waits for it, not even the process at exit, so the engine must not be destroyed before the
// process ends.
class TClientLogin {
public:
    TClientLogin(std::int32_t clientCode, const QString& urlHome, Engine& engine);
    TClientLogin(const TClientLogin&) = delete;
    TClientLogin& operator=(const TClientLogin&) = delete;

private:
    ~TClientLogin() = default; // only the thread itself frees the object
    void Execute() noexcept;

    const std::int32_t m_clientCode;
    const QString m_urlHome;
    Engine& m_engine;
};

} // namespace lumora
