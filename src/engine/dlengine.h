#pragma once

#include "engine.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace lumora {

// The engine library libLumora.so, loaded at run time from the program's folder. Without the
// library, or with any of its five functions missing, every call answers false and does nothing.
// The library stays loaded until the process ends, as a login call may still run at exit.
// Thread safety: the function table is fixed at construction, so ClientLoginIn may run on
// another thread concurrently with the other calls.
class DlEngine : public Engine {
public:
    static constexpr const char* kLibraryFileName = "libLumora.so";

    explicit DlEngine(const QString& libraryDir);
    ~DlEngine() override;
    DlEngine(const DlEngine&) = delete;
    DlEngine& operator=(const DlEngine&) = delete;

    bool loaded() const { return m_api != nullptr; }

    // onProgress is called on the user-interface thread, queued, whatever thread the engine
    // reports from; only the handler of the engine started last receives reports.
    bool Initlumora(std::int32_t clientCode, ProgressHandler onProgress) override;
    void UnInitlumora() override;
    bool ClientLoginIn(std::int32_t clientCode, const QString& urlHome) override;
    bool SetProgramInfo(const QString& downUrl, std::int32_t id, std::int32_t a, std::int32_t b,
                        QString& answer) override;
    bool GetProgInfo(std::int32_t engineNo, std::int32_t& percent) override;

private:
    struct Api;
    std::unique_ptr<const Api> m_api; // null when the library is unusable
};

} // namespace lumora
