#include "moviehost.h"

#include <stdexcept>

namespace lumora::test {

MovieServer::MovieServer(const std::string& buildDir, const std::string& mediaDir) {
    httplib::Server& server = m_http.server();
    for (const auto& [extension, type] : {std::pair{"wasm", "application/wasm"},
                                          {"js", "text/javascript"},
                                          {"swf", "application/x-shockwave-flash"},
                                          {"flv", "video/x-flv"},
                                          {"html", "text/html; charset=utf-8"}})
        server.set_file_extension_and_mimetype_mapping(extension, type);
    server.set_default_headers({{"Access-Control-Allow-Origin", "*"}});
    if (!server.set_mount_point("/ruffle", buildDir + "/Client/ruffle") ||
        !server.set_mount_point("/movie", buildDir + "/Client") ||
        !server.set_mount_point("/media", mediaDir))
        throw std::runtime_error("missing directory to serve");
    server.set_logger([this](const httplib::Request& request, const httplib::Response&) {
        const std::lock_guard lock(m_mutex);
        m_paths.push_back(request.path);
        if (request.has_header("Range"))
            m_ranges.push_back(request.get_header_value("Range"));
    });
    m_http.start();
}

int MovieServer::requestsUnder(const std::string& prefix) const {
    const std::lock_guard lock(m_mutex);
    int count = 0;
    for (const std::string& path : m_paths)
        count += path.starts_with(prefix) ? 1 : 0;
    return count;
}

std::vector<std::string> MovieServer::ranges() const {
    const std::lock_guard lock(m_mutex);
    return m_ranges;
}

void writeHostPage(const TempDir& media) {
    // The configuration a Flash host page needs for the movie: script access for the page's
    // calls, full screen allowed, no splash or unmute overlay to cover the player bar.
    media.write("host.html", R"(<!doctype html>
<html><head><meta charset="utf-8"></head>
<body style="margin:0;background:#000;overflow:hidden">
<script>
window.RufflePlayer = window.RufflePlayer || {};
window.RufflePlayer.config = {
  autoplay: "on", unmuteOverlay: "hidden", splashScreen: false, allowScriptAccess: true,
  allowFullscreen: true, letterbox: "off", contextMenu: "off", polyfills: false,
  warnOnUnsupportedContent: false
};
</script>
<script src="/ruffle/ruffle.js"></script>
<script>
const query = new URLSearchParams(location.search);
const player = window.RufflePlayer.newest().createPlayer();
player.id = "player";
player.style.cssText = "display:block;width:640px;height:480px";
document.body.appendChild(player);
player.load({url: query.get("movie"), parameters: query.get("vars") || ""});
</script>
</body></html>
)");
}

} // namespace lumora::test
