#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace lumora::test {

// How a served file misbehaves.
struct SourceBehaviour {
    std::size_t chunk = 64 * 1024;         // bytes per write
    std::chrono::microseconds pause{0};    // between writes
    std::int64_t cutAfter = -1;            // close a response after this many bytes...
    int cuts = 0;                          // ...this many times
    std::vector<std::int64_t> cutsAt;      // or: close the n-th response after cutsAt[n] bytes
    std::int64_t stallAt = -1;             // the first response goes silent after this many bytes
    std::chrono::milliseconds stallFor{0}; // ...for this long, then closes
    int status = 0;                        // answer this status with no body
    std::int64_t announcedLength = -1;     // Content-Length to claim instead of the truth
    bool ranges = true;                    // false: ignore Range, always 200
    bool chunked = false;                  // no Content-Length at all
};

// A download source on 127.0.0.1 that misbehaves on request: slow, cut, failing or lying about
// the length. Honours "bytes=a-" and "bytes=a-b" ranges unless told not to.
class SourceServer {
public:
    using Behaviour = SourceBehaviour;

    SourceServer();
    ~SourceServer();

    void serve(const std::string& path, std::string body, Behaviour behaviour = {});
    std::string url(const std::string& path) const;
    std::string base() const; // http://127.0.0.1:port
    int requestsFor(const std::string& path) const;
    std::vector<std::string> rangesFor(const std::string& path) const;
    std::vector<std::string> loginCodes() const;
    void setLoginStatus(int status) { m_loginStatus = status; }

private:
    struct Item {
        std::string body;
        Behaviour behaviour;
        int requests = 0;
        int cutsLeft = 0;
        std::size_t nextCut = 0;
        std::vector<std::string> ranges;
    };

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::map<std::string, std::shared_ptr<Item>> m_items;
    std::vector<std::string> m_loginCodes;
    std::atomic<int> m_loginStatus{200};
};

// Deterministic pseudo-random bytes.
std::string randomBytes(std::size_t size, unsigned seed);

// Threads of this process right now.
int threadCount();

} // namespace lumora::test
