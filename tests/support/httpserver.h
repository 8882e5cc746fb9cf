#pragma once

#include <httplib.h>

#include <QString>

#include <atomic>
#include <thread>

namespace lumora::test {

// An HTTP server on 127.0.0.1 at a port the system chose, answering on a thread of its own.
// Routes and settings go on server() before start(); the destructor stops it and joins the
// thread, so an owner declares it last to have it stop before the state its handlers touch.
class HttpServer {
public:
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    httplib::Server& server() { return m_server; }
    // Binds and returns once the server accepts connections; throws when that fails.
    void start();
    int port() const { return m_port; }
    QString address(const QString& path) const; // "http://127.0.0.1:port" + path

private:
    httplib::Server m_server;
    std::thread m_thread;
    std::atomic<bool> m_listenEnded{false};
    int m_port = 0;
};

} // namespace lumora::test
