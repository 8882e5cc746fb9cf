#include "dlengine.h"

#include "gbk.h"
#include "lumora_engine_abi.h"
#include "progressrelay.h"

#include <QDir>
#include <QFile>

#include <dlfcn.h>

#include <cstring>
#include <string>
#include <vector>

extern "C" {
static void lumoraIgnore4(int32_t, int32_t, int32_t, int32_t) {}
static void lumoraIgnore2(int32_t, int32_t) {}
static void lumoraProgress(int32_t number, int32_t percent) {
    lumora::progressrelay::report(number, percent);
}
}

namespace lumora {

struct DlEngine::Api {
    decltype(&::Initlumora) init = nullptr;
    decltype(&::UnInitlumora) uninit = nullptr;
    decltype(&::ClientLoginIn) login = nullptr;
    decltype(&::SetProgramInfo) setProgramInfo = nullptr;
    decltype(&::GetProgInfo) getProgInfo = nullptr;
};

namespace {
template <typename Fn> bool resolve(void* handle, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(dlsym(handle, name));
    return fn != nullptr;
}
} // namespace

DlEngine::DlEngine(const QString& libraryDir) {
    const QByteArray path =
        QFile::encodeName(QDir(libraryDir).filePath(QString::fromLatin1(kLibraryFileName)));
    // Never closed: a login call on its own thread may still be inside the library at exit.
    void* handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return;
    auto api = std::make_unique<Api>();
    const bool complete = resolve(handle, "Initlumora", api->init) &&
                          resolve(handle, "UnInitlumora", api->uninit) &&
                          resolve(handle, "ClientLoginIn", api->login) &&
                          resolve(handle, "SetProgramInfo", api->setProgramInfo) &&
                          resolve(handle, "GetProgInfo", api->getProgInfo);
    if (complete)
        m_api = std::move(api);
}

DlEngine::~DlEngine() {
    progressrelay::remove(this);
}

bool DlEngine::Initlumora(std::int32_t clientCode, ProgressHandler onProgress) {
    if (!m_api)
        return false;
    progressrelay::install(this, std::move(onProgress));
    return m_api->init(clientCode, lumoraIgnore4, lumoraIgnore4, lumoraIgnore2, lumoraProgress) !=
           0;
}

void DlEngine::UnInitlumora() {
    if (!m_api)
        return;
    // The handler acts on window controls, which are going away with the caller.
    progressrelay::remove(this);
    m_api->uninit();
}

bool DlEngine::ClientLoginIn(std::int32_t clientCode, const QString& urlHome) {
    if (!m_api)
        return false;
    const std::string url = toGbk(urlHome);
    return m_api->login(clientCode, url.c_str()) != 0;
}

bool DlEngine::SetProgramInfo(const QString& downUrl, std::int32_t id, std::int32_t a,
                              std::int32_t b, QString& answer) {
    if (!m_api)
        return false;
    const std::string url = toGbk(downUrl);
    std::vector<char> buffer(LUMORA_ANSWER_SIZE, '\0');
    if (m_api->setProgramInfo(url.c_str(), id, a, b, buffer.data()) == 0)
        return false;
    // An engine that fills the whole buffer leaves no terminator; read no further than its end.
    answer = fromGbk(std::string_view(buffer.data(), strnlen(buffer.data(), buffer.size())));
    return true;
}

bool DlEngine::GetProgInfo(std::int32_t engineNo, std::int32_t& percent) {
    if (!m_api)
        return false;
    std::int32_t cells[3] = {0, 0, 0};
    if (m_api->getProgInfo(engineNo, &cells[0], &cells[1], &cells[2]) == 0)
        return false;
    percent = cells[0];
    return true;
}

} // namespace lumora
