#include "clientlogin.h"

#include <thread>

namespace lumora {

TClientLogin::TClientLogin(std::int32_t clientCode, const QString& urlHome, Engine& engine)
    : m_clientCode(clientCode), m_urlHome(urlHome), m_engine(engine) {
    // Last statement: the thread may free the object before the constructor has returned.
    std::thread([this] {
        Execute();
        delete this;
    }).detach();
}

void TClientLogin::Execute() noexcept {
    try {
        m_engine.ClientLoginIn(m_clientCode, m_urlHome);
    } catch (...) {
        // The sign-in is best effort; nothing depends on it.
    }
}

} // namespace lumora
