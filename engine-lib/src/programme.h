#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

namespace lumora::p2p {

// One programme the engine knows: where its bytes are and how far the download got. The
// download thread writes it, the stream server's threads read it.
class Programme {
public:
    enum class State { Downloading, Complete, Failed };

    Programme(std::int32_t number, std::string url, std::string ext,
              const std::filesystem::path& store, const std::string& fileName);

    std::int32_t number() const { return m_number; }
    const std::string& url() const { return m_url; }
    const std::string& ext() const { return m_ext; }
    const std::filesystem::path& finalPath() const { return m_finalPath; }
    const std::filesystem::path& partPath() const { return m_partPath; }

    struct Snapshot {
        State state = State::Downloading;
        std::int64_t available = 0; // bytes on disk from the start of the file
        std::int64_t total = -1;    // -1 until the source announced it
        bool closing = false;
    };
    Snapshot snapshot() const;
    // 0..100; 100 only once the complete file is in place.
    std::int32_t percent() const;

    // Download side.
    void restart(std::int64_t available);
    void prepare(); // before a download thread starts
    // The source answered: with its total, or -1 when it gives none.
    void setTotal(std::int64_t total);
    void addAvailable(std::int64_t bytes);
    void finish(State state);
    // A finished download found on disk.
    void markComplete(std::int64_t size);

    // Engine shutdown: wakes every waiter and makes it give up.
    void close();
    bool isClosing() const;
    // Sleeps up to delay unless closed first; true when closed.
    bool sleepUnlessClosed(std::chrono::milliseconds delay);

    // Stream side: waits until more than position bytes are on disk, the download ends or the
    // programme closes, for at most timeout without progress. Returns the snapshot seen last.
    Snapshot waitBeyond(std::int64_t position, std::chrono::milliseconds timeout);
    // Waits in the same way until the source answered or the download ended.
    Snapshot waitForAnswer(std::chrono::milliseconds timeout);

    // Guarded by the engine's lock, not by this object's.
    std::thread worker;

private:
    template <typename Done> Snapshot waitUntil(Done done, std::chrono::milliseconds timeout);
    Snapshot snapshotLocked() const;

    const std::int32_t m_number;
    const std::string m_url;
    const std::string m_ext;
    const std::filesystem::path m_finalPath;
    const std::filesystem::path m_partPath;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    State m_state = State::Downloading;
    std::int64_t m_available = 0;
    std::int64_t m_total = -1;
    bool m_answered = false;
    bool m_closing = false;
};

} // namespace lumora::p2p
