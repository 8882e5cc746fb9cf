#pragma once

#include <QString>

#include <cstdint>
#include <functional>

namespace lumora {

// The download and login engine as the client uses it. Texts are QString here and GBK across
// the library's C interface.
class Engine {
public:
    virtual ~Engine() = default;
    // Called on the user-interface thread with (engine number, percent).
    using ProgressHandler = std::function<void(std::int32_t, std::int32_t)>;

    virtual bool Initlumora(std::int32_t clientCode, ProgressHandler onProgress) = 0;
    virtual void UnInitlumora() = 0;
    // May be called from the login thread, concurrently with the other calls.
    virtual bool ClientLoginIn(std::int32_t clientCode, const QString& urlHome) = 0;
    // True when the engine accepted the programme; answer is then its play address.
    virtual bool SetProgramInfo(const QString& downUrl, std::int32_t id, std::int32_t a,
                                std::int32_t b, QString& answer) = 0;
    // True with percent 0..100 for a programme the engine knows.
    virtual bool GetProgInfo(std::int32_t engineNo, std::int32_t& percent) = 0;
};

} // namespace lumora
