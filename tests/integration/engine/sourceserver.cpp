#include "sourceserver.h"

#include <httplib.h>

#include <dirent.h>

#include <algorithm>
#include <random>
#include <stdexcept>

namespace lumora::test {

namespace {

// "bytes=a-" or "bytes=a-b" as curl sends them; the start, -1 when absent or other.
std::int64_t rangeStart(const std::string& header) {
    if (header.rfind("bytes=", 0) != 0 || header.find(',') != std::string::npos)
        return -1;
    try {
        return std::stoll(header.substr(6));
    } catch (...) {
        return -1;
    }
}

} // namespace

SourceServer::SourceServer() : m_server(std::make_unique<httplib::Server>()) {
    m_server->set_keep_alive_timeout(1);
    m_server->set_pre_routing_handler([](const httplib::Request& request, httplib::Response&) {
        const_cast<httplib::Request&>(request).ranges.clear(); // ranges are answered below
        return httplib::Server::HandlerResponse::Unhandled;
    });
    m_server->Get("/client/login",
                  [this](const httplib::Request& request, httplib::Response& response) {
                      std::lock_guard lock(m_mutex);
                      m_loginCodes.push_back(request.get_param_value("code"));
                      response.status = m_loginStatus;
                      response.set_content("ok", "text/plain");
                  });
    m_server->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        std::shared_ptr<Item> item;
        std::int64_t cut = -1;
        bool stall = false;
        {
            std::lock_guard lock(m_mutex);
            const auto found = m_items.find(request.path);
            if (found == m_items.end()) {
                response.status = 404;
                return;
            }
            item = found->second;
            ++item->requests;
            item->ranges.push_back(request.get_header_value("Range"));
            if (item->cutsLeft > 0) {
                --item->cutsLeft;
                cut = item->behaviour.cutAfter;
            } else if (item->nextCut < item->behaviour.cutsAt.size()) {
                cut = item->behaviour.cutsAt[item->nextCut++];
            }
            stall = item->requests == 1 && item->behaviour.stallAt >= 0;
        }
        const Behaviour& how = item->behaviour;
        if (how.status != 0) {
            response.status = how.status;
            return;
        }
        const auto size = static_cast<std::int64_t>(item->body.size());
        std::int64_t first = how.ranges ? rangeStart(request.get_header_value("Range")) : -1;
        if (first >= size) {
            response.status = 416;
            response.set_header("Content-Range", "bytes */" + std::to_string(size));
            return;
        }
        response.status = first >= 0 ? 206 : 200;
        first = std::max<std::int64_t>(first, 0);
        if (response.status == 206)
            response.set_header("Content-Range", "bytes " + std::to_string(first) + "-" +
                                                     std::to_string(size - 1) + "/" +
                                                     std::to_string(size));
        const std::int64_t length =
            how.announcedLength >= 0 ? how.announcedLength - first : size - first;
        // Writes the real body from first on, whatever length was announced.
        auto provide = [item, first, cut, stall](std::size_t offset, httplib::DataSink& sink) {
            const Behaviour& b = item->behaviour;
            const auto position = first + static_cast<std::int64_t>(offset);
            const auto size = static_cast<std::int64_t>(item->body.size());
            if (position >= size || (cut >= 0 && static_cast<std::int64_t>(offset) >= cut))
                return false;
            if (stall && static_cast<std::int64_t>(offset) >= b.stallAt) {
                std::this_thread::sleep_for(b.stallFor);
                return false;
            }
            if (b.pause.count() > 0)
                std::this_thread::sleep_for(b.pause);
            // Lying short: the rest of the body goes out in one write past the announcement.
            std::int64_t n = b.announcedLength >= 0 && b.announcedLength < size
                                 ? size - position
                                 : std::min<std::int64_t>(b.chunk, size - position);
            if (cut >= 0)
                n = std::min<std::int64_t>(n, cut - static_cast<std::int64_t>(offset));
            if (stall)
                n = std::min<std::int64_t>(n, b.stallAt - static_cast<std::int64_t>(offset));
            return sink.write(item->body.data() + position, static_cast<std::size_t>(n));
        };
        if (how.chunked) {
            response.set_chunked_content_provider(
                "application/octet-stream",
                [provide, item, first](std::size_t offset, httplib::DataSink& sink) {
                    if (first + static_cast<std::int64_t>(offset) >=
                        static_cast<std::int64_t>(item->body.size())) {
                        sink.done();
                        return true;
                    }
                    return provide(offset, sink);
                });
            return;
        }
        response.set_content_provider(
            static_cast<std::size_t>(length), "application/octet-stream",
            [provide](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                return provide(offset, sink);
            });
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        throw std::runtime_error("cannot bind the source server");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running()) // a stop() before the accept loop would be lost
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

SourceServer::~SourceServer() {
    m_server->stop();
    m_thread.join();
}

void SourceServer::serve(const std::string& path, std::string body, Behaviour behaviour) {
    auto item = std::make_shared<Item>();
    item->body = std::move(body);
    item->behaviour = behaviour;
    item->cutsLeft = behaviour.cuts;
    std::lock_guard lock(m_mutex);
    m_items[path] = std::move(item);
}

std::string SourceServer::base() const {
    return "http://127.0.0.1:" + std::to_string(m_port);
}

std::string SourceServer::url(const std::string& path) const {
    return base() + path;
}

int SourceServer::requestsFor(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_items.find(path);
    return found == m_items.end() ? 0 : found->second->requests;
}

std::vector<std::string> SourceServer::rangesFor(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_items.find(path);
    return found == m_items.end() ? std::vector<std::string>{} : found->second->ranges;
}

std::vector<std::string> SourceServer::loginCodes() const {
    std::lock_guard lock(m_mutex);
    return m_loginCodes;
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator() & 0xff);
    return bytes;
}

int threadCount() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.')
                ++count;
        }
        ::closedir(dir);
    }
    return count;
}

} // namespace lumora::test
