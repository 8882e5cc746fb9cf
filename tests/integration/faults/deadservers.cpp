#include "deadservers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <tuple>

namespace lumora::test {

namespace {

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

BlackholePort::BlackholePort() {
    std::tie(m_listener, m_port) = boundLoopbackSocket();
    ::listen(m_listener, 0);
    // Linux keeps backlog + 1 completed connections; once they are queued, further handshakes
    // are dropped silently and the client waits. A few fillers leave no room for doubt.
    const sockaddr_in address = loopback(m_port);
    for (int i = 0; i < 4; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        m_fillers.push_back(filler);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // let the handshakes settle
}

BlackholePort::~BlackholePort() {
    for (int filler : m_fillers)
        ::close(filler);
    ::close(m_listener);
}

MuteServer::MuteServer() {
    std::tie(m_listener, m_port) = boundLoopbackSocket();
    ::listen(m_listener, 16);
    if (::pipe2(m_stop, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe");
    m_thread = std::thread([this] { run(); });
}

MuteServer::~MuteServer() {
    const char stop = 's';
    (void)::write(m_stop[1], &stop, 1);
    m_thread.join();
    for (int connection : m_connections)
        ::close(connection);
    ::close(m_stop[0]);
    ::close(m_stop[1]);
    ::close(m_listener);
}

void MuteServer::run() {
    for (;;) {
        pollfd waits[2] = {{m_listener, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0 || (waits[1].revents & POLLIN))
            return;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) {
            m_connections.push_back(connection);
            ++m_accepted;
        }
    }
}

} // namespace lumora::test
