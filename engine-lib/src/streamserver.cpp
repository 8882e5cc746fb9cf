#include "streamserver.h"

#include "byterange.h"
#include "urlrules.h"

#include <httplib.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace lumora::p2p {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr int kServerThreads = 12;

// Reads a programme's bytes from whichever of its files exists; the .part file is renamed
// once complete, and an open descriptor survives that rename.
class FileReader {
public:
    explicit FileReader(std::shared_ptr<Programme> programme) : m_programme(std::move(programme)) {}
    ~FileReader() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Sends up to length bytes from position, waiting for them while they download.
    bool send(std::int64_t position, std::size_t length, httplib::DataSink& sink,
              std::chrono::milliseconds noProgress) {
        const auto seen = m_programme->waitBeyond(position, noProgress);
        if (seen.closing || seen.available <= position || !open())
            return false;
        const auto wanted =
            std::min<std::int64_t>({static_cast<std::int64_t>(length), seen.available - position,
                                    static_cast<std::int64_t>(kChunk)});
        m_buffer.resize(kChunk);
        ssize_t got = 0;
        do {
            got = ::pread(m_fd, m_buffer.data(), static_cast<std::size_t>(wanted), position);
        } while (got < 0 && errno == EINTR);
        if (got <= 0)
            return false;
        // A reader that pauses keeps its connection; the server's short write timeout only
        // keeps shutdown prompt.
        const auto deadline = std::chrono::steady_clock::now() + noProgress;
        while (!sink.is_writable()) {
            if (m_programme->isClosing() || std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return sink.write(m_buffer.data(), static_cast<std::size_t>(got));
    }

    const std::shared_ptr<Programme>& programme() const { return m_programme; }

private:
    bool open() {
        if (m_fd >= 0)
            return true;
        m_fd = ::open(m_programme->partPath().c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            m_fd = ::open(m_programme->finalPath().c_str(), O_RDONLY | O_CLOEXEC);
        return m_fd >= 0;
    }

    std::shared_ptr<Programme> m_programme;
    int m_fd = -1;
    std::vector<char> m_buffer;
};

} // namespace

StreamServer::StreamServer(Lookup lookup, std::chrono::milliseconds noProgress)
    : m_lookup(std::move(lookup)), m_noProgress(noProgress) {}

StreamServer::~StreamServer() {
    stop();
}

bool StreamServer::start() {
    if (m_server)
        return true;
    auto server = std::make_unique<httplib::Server>();
    server->new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
    server->set_keep_alive_timeout(1);
    server->set_read_timeout(5);
    server->set_write_timeout(1);
    // Ranges are answered here; httplib 0.11 would otherwise slice the body a second time.
    server->set_pre_routing_handler([](const httplib::Request& request, httplib::Response&) {
        const_cast<httplib::Request&>(request).ranges.clear();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server->Get(std::string(kPlayPrefix) + ".*",
                [this](const httplib::Request& request, httplib::Response& response) {
                    handle(request, response);
                });
    const int port = server->bind_to_any_port("127.0.0.1");
    if (port <= 0)
        return false;
    m_port = static_cast<std::uint16_t>(port);
    m_server = std::move(server);
    m_thread = std::thread([server = m_server.get()] { server->listen_after_bind(); });
    // httplib ignores a stop() that comes before its accept loop runs.
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void StreamServer::stop() {
    if (!m_server)
        return;
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
    m_server.reset();
    m_port = 0;
}

void StreamServer::handle(const httplib::Request& request, httplib::Response& response) const {
    const auto path = parsePlayPath(request.path);
    std::shared_ptr<Programme> programme = path ? m_lookup(path->number) : nullptr;
    if (!programme || programme->ext() != path->ext) {
        response.status = 404;
        return;
    }
    response.set_header("Access-Control-Allow-Origin", "*"); // the player page's origin is "null"
    response.set_header("Cache-Control", "no-store");
    serve(programme, request, response);
}

void StreamServer::serve(const std::shared_ptr<Programme>& programme,
                         const httplib::Request& request, httplib::Response& response) const {
    const std::string type = contentTypeFor(programme->ext());
    const auto noProgress = m_noProgress;
    auto reader = std::make_shared<FileReader>(programme);
    auto seen = programme->waitForAnswer(m_noProgress);
    if (seen.closing || (seen.total < 0 && seen.state != Programme::State::Downloading)) {
        response.status = 503;
        return;
    }
    if (seen.total < 0) {
        // The source gave no length: stream to the end of the download without ranges.
        response.status = 200;
        response.set_chunked_content_provider(
            type, [reader, noProgress](std::size_t offset, httplib::DataSink& sink) {
                const auto now = reader->programme()->snapshot();
                const auto position = static_cast<std::int64_t>(offset);
                if (now.state == Programme::State::Complete && position >= now.available) {
                    sink.done();
                    return true;
                }
                return reader->send(position, kChunk, sink, noProgress);
            });
        return;
    }

    const std::int64_t total = seen.total;
    response.set_header("Accept-Ranges", "bytes");
    const ByteRange range = parseByteRange(request.get_header_value("Range"), total);
    std::int64_t first = 0;
    std::int64_t length = total;
    if (range.kind == ByteRange::Kind::Unsatisfiable) {
        response.status = 416;
        response.set_header("Content-Range", "bytes */" + std::to_string(total));
        return;
    }
    if (range.kind == ByteRange::Kind::Partial) {
        first = range.first;
        length = range.last - range.first + 1;
        response.status = 206;
        response.set_header("Content-Range", "bytes " + std::to_string(range.first) + "-" +
                                                 std::to_string(range.last) + "/" +
                                                 std::to_string(total));
    } else {
        response.status = 200;
    }
    if (length == 0) {
        response.set_content("", type);
        return;
    }
    response.set_content_provider(
        static_cast<std::size_t>(length), type,
        [reader, first, noProgress](std::size_t offset, std::size_t size, httplib::DataSink& sink) {
            return reader->send(first + static_cast<std::int64_t>(offset), size, sink, noProgress);
        });
}

} // namespace lumora::p2p
