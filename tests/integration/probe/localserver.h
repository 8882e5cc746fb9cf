#pragma once

#include "support/httpserver.h"

#include <QString>

#include <atomic>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>

namespace lumora::test {

// An HTTP server on 127.0.0.1 at a port the system chose, running on its own thread.
//   /status/N      answers status N (301 and 302 point at /status/404)
//   /flaky/N       answers 404 to its first N requests, then 200
//   /big           a 50 MB body
class LocalServer {
public:
    static constexpr std::size_t kBigBodySize = 50u * 1024 * 1024;

    LocalServer();

    int port() const { return m_http.port(); }
    QString address(const QString& path) const { return m_http.address(path); }

    int hits(const std::string& path) const;
    std::string lastHeader(const std::string& name) const; // of the latest request
    std::string lastMethod() const;
    std::size_t bigBytesSent() const { return m_bigBytesSent; }

private:
    void record(const httplib::Request& request);

    mutable std::mutex m_mutex;
    std::map<std::string, int> m_hits;
    httplib::Headers m_lastHeaders;
    std::string m_lastMethod;
    std::atomic<std::size_t> m_bigBytesSent{0};
    HttpServer m_http; // last: stops before the records its handlers write
};

// A port that accepts connections and never answers: listening, never accepting.
class SilentPort {
public:
    SilentPort();
    ~SilentPort();
    int port() const { return m_port; }
    // What the first client sent before it gave up; empty when none connected.
    std::string firstBytesReceived();

private:
    int m_socket = -1;
    int m_port = 0;
};

} // namespace lumora::test
