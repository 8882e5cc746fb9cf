#include "programme.h"

#include <algorithm>

namespace lumora::p2p {

Programme::Programme(std::int32_t number, std::string url, std::string ext,
                     const std::filesystem::path& store, const std::string& fileName)
    : m_number(number), m_url(std::move(url)), m_ext(std::move(ext)), m_finalPath(store / fileName),
      m_partPath(store / (fileName + ".part")) {}

Programme::Snapshot Programme::snapshotLocked() const {
    return {m_state, m_available, m_total, m_closing};
}

Programme::Snapshot Programme::snapshot() const {
    std::lock_guard lock(m_mutex);
    return snapshotLocked();
}

std::int32_t Programme::percent() const {
    std::lock_guard lock(m_mutex);
    if (m_state == State::Complete)
        return 100;
    if (m_total <= 0)
        return 0;
    // Never 100 before the file is verified and renamed.
    const std::int64_t value = m_available * 100 / m_total;
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, 99));
}

void Programme::prepare() {
    std::lock_guard lock(m_mutex);
    m_state = State::Downloading;
}

void Programme::restart(std::int64_t available) {
    std::lock_guard lock(m_mutex);
    m_state = State::Downloading;
    m_available = available;
    m_total = -1;
    m_answered = false;
}

void Programme::setTotal(std::int64_t total) {
    {
        std::lock_guard lock(m_mutex);
        m_total = total;
        m_answered = true;
    }
    m_changed.notify_all();
}

void Programme::addAvailable(std::int64_t bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_available += bytes;
    }
    m_changed.notify_all();
}

void Programme::finish(State state) {
    {
        std::lock_guard lock(m_mutex);
        m_state = state;
        if (state == State::Complete)
            m_total = m_available;
    }
    m_changed.notify_all();
}

void Programme::markComplete(std::int64_t size) {
    std::lock_guard lock(m_mutex);
    m_state = State::Complete;
    m_available = size;
    m_total = size;
    m_answered = true;
}

void Programme::close() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
}

bool Programme::isClosing() const {
    std::lock_guard lock(m_mutex);
    return m_closing;
}

bool Programme::sleepUnlessClosed(std::chrono::milliseconds delay) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, delay, [this] { return m_closing; });
}

template <typename Done>
Programme::Snapshot Programme::waitUntil(Done done, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::int64_t seen = m_available;
    while (!m_closing && m_state == State::Downloading && !done()) {
        if (m_changed.wait_until(lock, deadline) == std::cv_status::timeout) {
            if (m_available == seen)
                break; // no progress for a whole timeout: the caller gives up
        }
        if (m_available != seen) {
            seen = m_available;
            deadline = std::chrono::steady_clock::now() + timeout;
        }
    }
    return snapshotLocked();
}

Programme::Snapshot Programme::waitBeyond(std::int64_t position,
                                          std::chrono::milliseconds timeout) {
    return waitUntil([&] { return m_available > position; }, timeout);
}

Programme::Snapshot Programme::waitForAnswer(std::chrono::milliseconds timeout) {
    return waitUntil([&] { return m_answered; }, timeout);
}

} // namespace lumora::p2p
