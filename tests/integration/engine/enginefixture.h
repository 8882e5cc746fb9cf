#pragma once

#include "engine.h"
#include "sourceserver.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

namespace lumora::test {

inline constexpr std::size_t kFiveMegabytes = 5 * 1024 * 1024;

// Polls until done() holds or the time runs out.
inline bool waitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds timeout = std::chrono::seconds(15)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The number in a play address "http://127.0.0.1:port/P2P/<number><ext>".
inline std::int32_t numberOf(const std::string& address) {
    const auto start = address.find("/P2P/") + 5;
    return std::stoi(address.substr(start, address.size() - 4 - start));
}

// An engine with its store in a temporary folder, beside a download source.
class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(startEngine()); }

    bool startEngine() {
        p2p::Engine::Options options;
        options.store = store();
        options.progress = [this](std::int32_t number, std::int32_t percent) {
            std::lock_guard lock(m_progressMutex);
            m_progress.emplace_back(number, percent);
        };
        options.limits.firstBackoff = std::chrono::milliseconds(10);
        options.noProgress = std::chrono::seconds(5);
        options.limits.stallTimeoutSeconds = m_stallTimeoutSeconds;
        return m_engine.start(options);
    }

    std::filesystem::path store() const { return m_dir.path().toStdString() + "store"; }

    std::vector<std::int32_t> progressOf(std::int32_t number) {
        std::lock_guard lock(m_progressMutex);
        std::vector<std::int32_t> percents;
        for (const auto& [n, percent] : m_progress) {
            if (n == number)
                percents.push_back(percent);
        }
        return percents;
    }

    // Requests a download and returns its number.
    std::int32_t request(const std::string& path) {
        const auto answer = m_engine.requestProgramme(m_source.url(path));
        EXPECT_TRUE(answer) << path;
        return answer ? numberOf(*answer) : -1;
    }

    bool waitComplete(std::int32_t number,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        return waitFor([&] { return m_engine.percentOf(number) == 100; }, timeout);
    }

    std::filesystem::path finalFile(std::int32_t number) const {
        return m_engine.storeFileOf(number).value_or(std::filesystem::path());
    }
    std::filesystem::path partFile(std::int32_t number) const {
        return finalFile(number).string() + ".part";
    }

    long m_stallTimeoutSeconds = 30;
    TempDir m_dir;
    SourceServer m_source;
    std::mutex m_progressMutex;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_progress;
    p2p::Engine m_engine; // declared last: stopped before the source and the records go
};

} // namespace lumora::test
