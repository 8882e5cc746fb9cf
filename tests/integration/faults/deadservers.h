#pragma once

#include "support/loopbackport.h"

#include <atomic>
#include <thread>
#include <vector>

namespace lumora::test {

// A loopback port whose accept queue is full and never drained: new connections get no
// answer at all, as behind a firewall that drops packets.
class BlackholePort {
public:
    BlackholePort();
    ~BlackholePort();
    BlackholePort(const BlackholePort&) = delete;
    BlackholePort& operator=(const BlackholePort&) = delete;
    int port() const { return m_port; }

private:
    int m_listener = -1;
    std::vector<int> m_fillers;
    int m_port = 0;
};

// A loopback server that accepts every connection and never sends a byte.
class MuteServer {
public:
    MuteServer();
    ~MuteServer();
    MuteServer(const MuteServer&) = delete;
    MuteServer& operator=(const MuteServer&) = delete;
    int port() const { return m_port; }
    int accepted() const { return m_accepted; }

private:
    void run();

    int m_listener = -1;
    int m_stop[2] = {-1, -1};
    int m_port = 0;
    std::atomic<int> m_accepted{0};
    std::vector<int> m_connections; // held open until the server ends
    std::thread m_thread;
};

} // namespace lumora::test
