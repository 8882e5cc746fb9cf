#include "engine.h"

#include "urlrules.h"

#include <limits>

namespace lumora::p2p {

Engine::~Engine() {
    stop();
}

bool Engine::start(const Options& options) {
    std::lock_guard life(m_lifecycle);
    if (isRunning())
        return true;
    std::error_code error;
    std::filesystem::create_directories(options.store, error);
    if (error || !std::filesystem::is_directory(options.store, error))
        return false;
    auto server = std::make_unique<StreamServer>(
        [this](std::int32_t number) { return find(number); }, options.noProgress);
    if (!server->start())
        return false;
    std::lock_guard lock(m_mutex);
    m_options = options;
    m_server = std::move(server);
    m_running = true;
    return true;
}

void Engine::stop() {
    std::lock_guard life(m_lifecycle);
    std::map<std::int32_t, std::shared_ptr<Programme>> programmes;
    std::unique_ptr<StreamServer> server;
    {
        std::lock_guard lock(m_mutex);
        if (!m_running)
            return;
        m_running = false;
        programmes.swap(m_programmes);
        m_numbers.clear();
        server = std::move(m_server);
    }
    // Closing first wakes the server's waiting requests and aborts the transfers.
    for (auto& [number, programme] : programmes)
        programme->close();
    server->stop();
    for (auto& [number, programme] : programmes) {
        if (programme->worker.joinable())
            programme->worker.join();
    }
}

bool Engine::isRunning() const {
    std::lock_guard lock(m_mutex);
    return m_running;
}

std::uint16_t Engine::port() const {
    std::lock_guard lock(m_mutex);
    return m_server ? m_server->port() : 0;
}

std::optional<std::string> Engine::requestProgramme(std::string_view downUrl) {
    const auto ext = downloadExtension(downUrl);
    if (!ext)
        return std::nullopt;
    std::lock_guard lock(m_mutex);
    if (!m_running)
        return std::nullopt;
    std::shared_ptr<Programme> programme;
    if (const auto known = m_numbers.find(downUrl); known != m_numbers.end()) {
        programme = m_programmes.at(known->second);
        // A download that failed is tried again when the programme is asked for again.
        if (programme->snapshot().state == Programme::State::Failed) {
            if (programme->worker.joinable())
                programme->worker.join(); // it has finished: only its return is left
            launch(programme);
        }
    } else {
        if (m_nextNumber == std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        const std::int32_t number = m_nextNumber++;
        programme = std::make_shared<Programme>(number, std::string(downUrl), *ext, m_options.store,
                                                storeFileName(downUrl, *ext));
        m_numbers.emplace(std::string(downUrl), number);
        m_programmes.emplace(number, programme);
        std::error_code error;
        const auto size = std::filesystem::file_size(programme->finalPath(), error);
        if (!error && std::filesystem::is_regular_file(programme->finalPath(), error))
            programme->markComplete(static_cast<std::int64_t>(size)); // downloaded earlier
        else
            launch(programme);
    }
    return playAddress(m_server->port(), programme->number(), *ext);
}

void Engine::launch(const std::shared_ptr<Programme>& programme) {
    programme->prepare();
    programme->worker =
        std::thread([programme, progress = m_options.progress, limits = m_options.limits] {
            runDownload(*programme, progress, limits);
        });
}

std::shared_ptr<Programme> Engine::find(std::int32_t number) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_programmes.find(number);
    return found == m_programmes.end() ? nullptr : found->second;
}

std::optional<std::int32_t> Engine::percentOf(std::int32_t number) const {
    const auto programme = find(number);
    if (!programme)
        return std::nullopt;
    return programme->percent();
}

std::optional<std::filesystem::path> Engine::storeFileOf(std::int32_t number) const {
    const auto programme = find(number);
    if (!programme)
        return std::nullopt;
    return programme->finalPath();
}

} // namespace lumora::p2p
