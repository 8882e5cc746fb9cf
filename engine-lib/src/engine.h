#pragma once

#include "downloader.h"
#include "programme.h"
#include "streamserver.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace lumora::p2p {

// The engine: numbers programmes, downloads them into the store and serves them on loopback.
// Every member may be called from any thread.
class Engine {
public:
    struct Options {
        std::filesystem::path store;
        ProgressSink progress; // called on download threads
        DownloadLimits limits;
        std::chrono::milliseconds noProgress = std::chrono::seconds(30);
    };

    Engine() = default;
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Creates the store and starts the server. A second start while running changes nothing.
    bool start(const Options& options);
    // Cancels downloads, stops the server and joins every thread. Harmless when not running.
    void stop();
    bool isRunning() const;
    std::uint16_t port() const;

    // The play address for a download address, starting its download unless it is on disk;
    // nullopt for an unusable address or when not running.
    std::optional<std::string> requestProgramme(std::string_view downUrl);
    // 0..100 for a known number.
    std::optional<std::int32_t> percentOf(std::int32_t number) const;
    // The store file a number downloads into (its .part while incomplete).
    std::optional<std::filesystem::path> storeFileOf(std::int32_t number) const;

private:
    std::shared_ptr<Programme> find(std::int32_t number) const;
    void launch(const std::shared_ptr<Programme>& programme); // with m_mutex held

    std::mutex m_lifecycle; // start and stop run one at a time
    mutable std::mutex m_mutex;
    bool m_running = false;
    Options m_options;
    std::unique_ptr<StreamServer> m_server;
    std::map<std::string, std::int32_t, std::less<>> m_numbers;
    std::map<std::int32_t, std::shared_ptr<Programme>> m_programmes;
    std::int32_t m_nextNumber = 1;
};

} // namespace lumora::p2p
