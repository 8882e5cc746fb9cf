// Times the engine on loopback: a large download against the curl tool on the same source, and
// the delay from a programme request to the first byte its play address delivers.
#include "engine.h"

#include <httplib.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Serves /<anything>.flv from one in-memory body, with Content-Length and ranges.
class Source {
public:
    explicit Source(std::size_t size) : m_body(size, '\0') {
        std::mt19937 generator(7);
        for (char& c : m_body)
            c = static_cast<char>(generator());
        m_server.Get(".*", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(
                m_body.size(), "video/x-flv",
                [this](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                    return sink.write(m_body.data() + offset,
                                      std::min<std::size_t>(length, 1 << 20));
                });
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Source() {
        m_server.stop();
        m_thread.join();
    }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

private:
    std::string m_body;
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
};

} // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const int rounds = 5;
    const auto store =
        std::filesystem::temp_directory_path() / ("lumora-bench-" + std::to_string(::getpid()));
    Source source(megabytes << 20);
    lumora::p2p::Engine engine;
    lumora::p2p::Engine::Options options;
    options.store = store;
    if (!engine.start(options)) {
        std::fprintf(stderr, "cannot start the engine\n");
        return 1;
    }

    std::vector<double> engineTimes, curlTimes, firstByteTimes;
    for (int round = 0; round < rounds; ++round) {
        const std::string path = "/big" + std::to_string(round) + ".flv";
        auto start = Clock::now();
        const auto answer = engine.requestProgramme(source.url(path));
        const auto number = std::stoi(answer->substr(answer->find("/P2P/") + 5));
        while (engine.percentOf(number) != 100)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        engineTimes.push_back(millisecondsSince(start));

        const std::string target = (store / "curl.out").string();
        const std::string command = "curl -s -o " + target + " " + source.url(path);
        start = Clock::now();
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "curl failed\n");
        curlTimes.push_back(millisecondsSince(start));
        std::filesystem::remove(target);

        // First byte of a fresh programme through the play address.
        const std::string fresh = "/first" + std::to_string(round) + ".flv";
        start = Clock::now();
        const auto play = engine.requestProgramme(source.url(fresh));
        httplib::Client client("127.0.0.1", engine.port());
        bool first = true;
        client.Get(play->substr(play->find("/P2P/")).c_str(), [&](const char*, std::size_t) {
            if (first)
                firstByteTimes.push_back(millisecondsSince(start));
            first = false;
            return false; // one chunk is enough
        });
    }
    engine.stop();
    std::filesystem::remove_all(store);

    const double engineMs = median(engineTimes);
    const double curlMs = median(curlTimes);
    std::printf("download %zu MB: engine %.0f ms (%.0f MB/s), curl tool %.0f ms (%.0f MB/s), "
                "ratio %.2f\n",
                megabytes, engineMs, megabytes * 1000.0 / engineMs, curlMs,
                megabytes * 1000.0 / curlMs, engineMs / curlMs);
    std::printf("request to first byte of the play address: median %.2f ms over %d\n",
                median(firstByteTimes), rounds);
    return 0;
}
