#include "localserver.h"

#include "support/loopbackport.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <tuple>

namespace lumora::test {

LocalServer::LocalServer() {
    httplib::Server& server = m_http.server();
    server.Get(R"(/status/(\d+))",
               [this](const httplib::Request& request, httplib::Response& response) {
                   record(request);
                   response.status = std::stoi(request.matches[1]);
                   if (response.status == 301 || response.status == 302)
                       response.set_header("Location", "/status/404");
                   else if (response.status != 304 && response.status != 204)
                       response.set_content("page", "text/plain");
               });
    server.Get(R"(/flaky/(\d+))",
               [this](const httplib::Request& request, httplib::Response& response) {
                   record(request);
                   response.status = hits(request.path) > std::stoi(request.matches[1]) ? 200 : 404;
                   response.set_content("page", "text/plain");
               });
    server.Get("/big", [this](const httplib::Request& request, httplib::Response& response) {
        record(request);
        response.set_content_provider(
            kBigBodySize, "application/octet-stream",
            [this](std::size_t, std::size_t length, httplib::DataSink& sink) {
                static const std::string chunk(64 * 1024, 'x');
                const std::size_t size = std::min(length, chunk.size());
                if (sink.write(chunk.data(), size))
                    m_bigBytesSent += size;
                return true;
            });
    });
    m_http.start();
}

void LocalServer::record(const httplib::Request& request) {
    const std::lock_guard lock(m_mutex);
    ++m_hits[request.path];
    m_lastHeaders = request.headers;
    m_lastMethod = request.method;
}

int LocalServer::hits(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_hits.find(path);
    return found == m_hits.end() ? 0 : found->second;
}

std::string LocalServer::lastHeader(const std::string& name) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_lastHeaders.find(name);
    return found == m_lastHeaders.end() ? std::string() : found->second;
}

std::string LocalServer::lastMethod() const {
    const std::lock_guard lock(m_mutex);
    return m_lastMethod;
}

SilentPort::SilentPort() {
    std::tie(m_socket, m_port) = boundLoopbackSocket();
    // The kernel completes connections into the backlog; nobody ever reads them.
    ::listen(m_socket, 16);
}

SilentPort::~SilentPort() {
    ::close(m_socket);
}

std::string SilentPort::firstBytesReceived() {
    pollfd pending{m_socket, POLLIN, 0};
    if (::poll(&pending, 1, 2000) != 1)
        return {};
    const int connection = ::accept4(m_socket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0)
        return {};
    char buffer[512];
    const ssize_t size = ::recv(connection, buffer, sizeof buffer, 0);
    ::close(connection);
    return size > 0 ? std::string(buffer, std::size_t(size)) : std::string();
}

} // namespace lumora::test
