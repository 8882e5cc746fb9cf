#pragma once

#include "engine.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace lumora::test {

// An engine that records every call and answers as scripted. ClientLoginIn may come from
// another thread; waitForLogins blocks until enough of them arrived.
class FakeEngine : public Engine {
public:
    struct ProgramCall {
        QString downUrl;
        std::int32_t id, a, b;
    };
    struct LoginCall {
        std::int32_t clientCode;
        QString urlHome;
        std::thread::id thread;
    };

    // Scripted answers.
    bool initResult = true;
    bool programResult = true;
    QString programAnswer;
    bool progResult = true;
    std::int32_t progPercent = 0;
    bool loginResult = true;
    bool loginThrows = false;

    // Recorded calls (logins: read them after waitForLogins).
    std::vector<std::int32_t> initCalls;
    int uninitCalls = 0;
    std::vector<ProgramCall> programCalls;
    std::vector<std::int32_t> progCalls;
    ProgressHandler progress;

    bool Initlumora(std::int32_t clientCode, ProgressHandler onProgress) override {
        initCalls.push_back(clientCode);
        progress = std::move(onProgress);
        return initResult;
    }
    void UnInitlumora() override { ++uninitCalls; }
    bool ClientLoginIn(std::int32_t clientCode, const QString& urlHome) override {
        // Nothing of this object is touched after the waiter may have gone on and destroyed it.
        const bool throws = loginThrows;
        const bool result = loginResult;
        {
            std::lock_guard lock(m_mutex);
            m_logins.push_back({clientCode, urlHome, std::this_thread::get_id()});
            m_loginArrived.notify_all();
        }
        if (throws)
            throw std::runtime_error("login failed");
        return result;
    }
    bool SetProgramInfo(const QString& downUrl, std::int32_t id, std::int32_t a, std::int32_t b,
                        QString& answer) override {
        programCalls.push_back({downUrl, id, a, b});
        if (programResult)
            answer = programAnswer;
        return programResult;
    }
    bool GetProgInfo(std::int32_t engineNo, std::int32_t& percent) override {
        progCalls.push_back(engineNo);
        if (progResult)
            percent = progPercent;
        return progResult;
    }

    // Delivers a progress report as the real engine does, on the calling (test) thread.
    void reportProgress(std::int32_t number, std::int32_t percent) const {
        if (progress)
            progress(number, percent);
    }

    std::vector<LoginCall> waitForLogins(std::size_t count, std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        m_loginArrived.wait_for(lock, timeout, [&] { return m_logins.size() >= count; });
        return m_logins;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_loginArrived;
    std::vector<LoginCall> m_logins;
};

} // namespace lumora::test
