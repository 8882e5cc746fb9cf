#pragma once

#include "support/httpserver.h"

#include <QString>

#include <map>
#include <mutex>
#include <string>

namespace lumora::test {

// Site pages on 127.0.0.1 at a port the system chose, served from a thread of their own.
//   /page/NAME   an HTML page, cacheable for an hour
//   /redirect    302 to /page/target
//   /missing     404 with an HTML body
//   /program     a shell script sent as a download
class PageServer {
public:
    PageServer();

    QString address(const QString& path) const { return m_http.address(path); }
    int port() const { return m_http.port(); }
    int hits(const std::string& path) const;
    // A header of the latest request for the path; empty when absent.
    std::string lastHeader(const std::string& path, const std::string& name) const;

private:
    void record(const httplib::Request& request);

    mutable std::mutex m_mutex;
    std::map<std::string, int> m_hits;
    std::map<std::string, httplib::Headers> m_headers;
    HttpServer m_http; // last: stops before the records its handlers write
};

} // namespace lumora::test
