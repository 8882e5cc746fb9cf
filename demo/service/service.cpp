#include "service.h"

#include "filestore.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace lumora::demo {

namespace {

const char* const kLoginPath = "/client/login";
const char* const kFilesPrefix = "/files/";
const char* const kRedirectTarget = "/index.html";

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool isDecimal(const std::string& text) {
    return !text.empty() && text.size() <= 11 &&
           std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

void notFound(httplib::Response& res) {
    res.status = 404;
    res.set_content("not found\n", "text/plain");
}

} // namespace

DemoService::DemoService(ServiceOptions options)
    : m_options(std::move(options)), m_programmes(programmeTable(m_options.filesDir)) {
    if (!m_options.logFile.empty())
        m_log.open(m_options.logFile, std::ios::app);
    m_server.Get(".*",
                 [this](const httplib::Request& req, httplib::Response& res) { handle(req, res); });
    // The default also sets SO_REUSEPORT, which would let a second service share a taken port.
    m_server.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    m_server.set_logger(
        [this](const httplib::Request& req, const httplib::Response& res) { log(req, res); });
}

int DemoService::bind(std::string& error) {
    const char* const host = "127.0.0.1";
    if (m_options.port == 0) {
        const int port = m_server.bind_to_any_port(host);
        if (port <= 0)
            error = "cannot listen on 127.0.0.1";
        return port > 0 ? port : -1;
    }
    if (!m_server.bind_to_port(host, m_options.port)) {
        error = "port " + std::to_string(m_options.port) + " on 127.0.0.1 is taken";
        return -1;
    }
    return m_options.port;
}

void DemoService::run() {
    m_server.listen_after_bind();
}

void DemoService::stop() {
    m_server.stop();
}

void DemoService::handle(const httplib::Request& req, httplib::Response& res) {
    if (const auto chosen = m_options.statusOverrides.find(req.path);
        chosen != m_options.statusOverrides.end()) {
        res.status = chosen->second;
        if (isRedirect(chosen->second))
            res.set_header("Location", kRedirectTarget);
        res.set_content("status chosen for this test\n", "text/plain");
        return;
    }
    if (req.path == kLoginPath) {
        const bool valid = req.has_param("code") && isDecimal(req.get_param_value("code"));
        res.status = valid ? 200 : 400;
        res.set_content(valid ? "OK\n" : "code missing\n", "text/plain");
        return;
    }
    const auto relative = safeRelativePath(req.path, req.target);
    if (!relative) {
        notFound(res);
        return;
    }
    if (req.path.rfind(kFilesPrefix, 0) == 0) {
        const auto found = m_programmes.find(req.path);
        if (found == m_programmes.end())
            notFound(res);
        else
            serveProgramme(req, found->second, res);
        return;
    }
    const auto file = m_options.siteDir / (relative->empty() ? "index.html" : *relative);
    std::error_code ec;
    std::ifstream in(file, std::ios::binary);
    if (!std::filesystem::is_regular_file(file, ec) || !in) {
        notFound(res);
        return;
    }
    const std::string body{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    res.set_content(body, contentType(file).c_str());
}

void DemoService::serveProgramme(const httplib::Request& req, const std::filesystem::path& file,
                                 httplib::Response& res) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    auto in = std::make_shared<std::ifstream>(file, std::ios::binary);
    if (ec || !*in) {
        notFound(res);
        return;
    }
    // The library answers a range that starts at or after the end with 206 and a length that
    // wraps around; a resuming client must get 416 instead.
    for (const auto& range : req.ranges) {
        if (range.first >= 0 && static_cast<std::uintmax_t>(range.first) >= size) {
            res.status = 416;
            res.set_header("Content-Range", "bytes */" + std::to_string(size));
            return;
        }
    }
    const std::int64_t rate = m_options.throttle;
    // Small chunks under a throttle keep the pace even; each is followed by its share of a second.
    const std::size_t chunk =
        rate > 0 ? static_cast<std::size_t>(std::clamp<std::int64_t>(rate / 10, 1, 16384)) : 65536;
    res.set_content_provider(
        static_cast<std::size_t>(size), contentType(file).c_str(),
        [in, chunk, rate](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            std::string buffer(std::min(chunk, length), '\0');
            in->clear();
            in->seekg(static_cast<std::streamoff>(offset));
            in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const auto got = static_cast<std::size_t>(in->gcount());
            if (got == 0 || !sink.write(buffer.data(), got))
                return false;
            if (rate > 0)
                std::this_thread::sleep_for(
                    std::chrono::microseconds(static_cast<std::int64_t>(got) * 1000000 / rate));
            return true;
        });
}

void DemoService::log(const httplib::Request& req, const httplib::Response& res) {
    if (!m_log.is_open())
        return;
    const std::lock_guard lock(m_logMutex);
    m_log << req.method << ' ' << (req.target.empty() ? req.path : req.target) << ' ' << res.status
          << ' ' << req.get_header_value("User-Agent") << '\n';
    m_log.flush();
}

} // namespace lumora::demo
