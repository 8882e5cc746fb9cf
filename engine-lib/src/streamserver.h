#pragma once

#include "programme.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace lumora::p2p {

// The loopback HTTP server that plays programmes from "/P2P/<number><ext>" while they download,
// with single byte ranges once the size is known.
class StreamServer {
public:
    using Lookup = std::function<std::shared_ptr<Programme>(std::int32_t number)>;

    // noProgress: how long a request waits for bytes that do not arrive before it gives up.
    explicit StreamServer(Lookup lookup,
                          std::chrono::milliseconds noProgress = std::chrono::seconds(30));
    ~StreamServer();
    StreamServer(const StreamServer&) = delete;
    StreamServer& operator=(const StreamServer&) = delete;

    // Binds 127.0.0.1 on a port the system picks and serves on a thread of its own.
    bool start();
    // Ends serving and joins every server thread. Close the programmes first so that requests
    // waiting for data give up at once.
    void stop();
    std::uint16_t port() const { return m_port; }

private:
    void handle(const httplib::Request& request, httplib::Response& response) const;
    void serve(const std::shared_ptr<Programme>& programme, const httplib::Request& request,
               httplib::Response& response) const;

    Lookup m_lookup;
    std::chrono::milliseconds m_noProgress;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    std::uint16_t m_port = 0;
};

} // namespace lumora::p2p
