#include "httpserver.h"

#include <chrono>
#include <csignal>
#include <stdexcept>

namespace lumora::test {

HttpServer::HttpServer() {
    // Clients hang up in the middle of answers; writing on must not end the test.
    std::signal(SIGPIPE, SIG_IGN);
}

HttpServer::~HttpServer() {
    if (!m_thread.joinable())
        return;
    m_server.stop();
    m_thread.join();
}

void HttpServer::start() {
    m_port = m_server.bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        throw std::runtime_error("no port for the test server");
    m_thread = std::thread([this] {
        m_server.listen_after_bind();
        m_listenEnded = true;
    });
    // The accept loop must run before a stop() can end it.
    while (!m_server.is_running() && !m_listenEnded)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (!m_server.is_running())
        throw std::runtime_error("the test server stopped at once");
}

QString HttpServer::address(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

} // namespace lumora::test
