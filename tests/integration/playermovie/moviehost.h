#pragma once

#include "support/httpserver.h"
#include "support/tempdir.h"

#include <QString>

#include <mutex>
#include <string>
#include <vector>

class QWebEngineView;

namespace lumora::test {

// An HTTP server on 127.0.0.1 (port chosen by the system) for the player movie tests:
//   /ruffle/...   the Flash emulator of the build tree
//   /movie/...    the build tree's Client directory (flvplayer.swf)
//   /media/...    `mediaDir`: the test's FLV and the host page
// Files are served with Range support and "Access-Control-Allow-Origin: *".
class MovieServer {
public:
    MovieServer(const std::string& buildDir, const std::string& mediaDir);

    QString address(const QString& path) const { return m_http.address(path); }
    int requestsUnder(const std::string& prefix) const;
    std::vector<std::string> ranges() const; // Range headers of the requests so far

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_paths;
    std::vector<std::string> m_ranges;
    HttpServer m_http; // last: stops before the records its logger writes
};

// The page that hosts the emulator: /media/host.html?movie=URL&vars=FLASHVARS puts one player
// element (id "player", 640 x 480 at the page's top left) on the page and loads the movie.
void writeHostPage(const TempDir& media);

} // namespace lumora::test
