#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace lumora {

// The wave-out volume of the program: left channel in the low word, right in the high word.
class WaveOutVolume {
public:
    virtual ~WaveOutVolume() = default;
    virtual std::uint32_t read() = 0;
    virtual void write(std::uint32_t value) = 0;
};

// Full volume on both channels.
inline constexpr std::uint32_t kFullVolume = 0xFFFFFFFFu;

// The output gain 0..1 for a volume value; players have one gain, so the louder channel wins.
inline double outputLevel(std::uint32_t volume) {
    const std::uint32_t left = volume & 0xFFFFu;
    const std::uint32_t right = volume >> 16;
    return std::max(left, right) / 65535.0;
}

// The program's own output volume: stored here and followed by every player of the program.
class ProgramVolume : public WaveOutVolume {
public:
    using Listener = std::function<void(std::uint32_t)>;

    std::uint32_t read() override { return m_value; }

    void write(std::uint32_t value) override {
        m_value = value;
        // By id, so that a listener may subscribe or unsubscribe others while being told.
        std::vector<int> ids;
        for (const auto& entry : m_listeners)
            ids.push_back(entry.first);
        for (int id : ids) {
            const auto found = m_listeners.find(id);
            if (found != m_listeners.end())
                Listener(found->second)(value);
        }
    }

    // Calls listener with every value written from now on; returns an id for unsubscribe.
    int subscribe(Listener listener) {
        m_listeners.emplace(++m_lastId, std::move(listener));
        return m_lastId;
    }
    void unsubscribe(int id) { m_listeners.erase(id); }

private:
    std::uint32_t m_value = kFullVolume;
    std::map<int, Listener> m_listeners;
    int m_lastId = 0;
};

} // namespace lumora
