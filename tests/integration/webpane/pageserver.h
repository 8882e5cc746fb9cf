#pragma once

#include <httplib.h>

#include <QString>

#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace lumora::test {

// Site pages on 127.0.0.1 at a port the system chose, served from a thread of their own.
//   /page/NAME   an HTML page, cacheable for an hour
//   /redirect    302 to /page/target
//   /missing     404 with an HTML body
class PageServer {
public:
    PageServer();
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    QString address(const QString& path) const; // "http://127.0.0.1:port" + path
    int port() const { return m_port; }
    int hits(const std::string& path) const;
    // A header of the latest request for the path; empty when absent.
    std::string lastHeader(const std::string& path, const std::string& name) const;

private:
    void record(const httplib::Request& request);

    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::map<std::string, int> m_hits;
    std::map<std::string, httplib::Headers> m_headers;
};

} // namespace lumora::test
