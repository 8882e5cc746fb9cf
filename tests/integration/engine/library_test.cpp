// libLumora.so as the client loads it: through dlopen and its five C functions.
#include "lumora_engine_abi.h"
#include "sourceserver.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <thread>

namespace lumora::test {
namespace {

using namespace std::chrono_literals;

std::atomic<int> g_completedNumber{-1};
void onProgress(int32_t number, int32_t percent) {
    if (percent == 100)
        g_completedNumber = number;
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 15s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// The library loaded from a path, with its five functions.
class Library {
public:
    explicit Library(const std::string& path)
        : m_handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (m_handle == nullptr)
            throw std::runtime_error(dlerror());
        init = symbol<decltype(&Initlumora)>("Initlumora");
        uninit = symbol<decltype(&UnInitlumora)>("UnInitlumora");
        login = symbol<decltype(&ClientLoginIn)>("ClientLoginIn");
        setProgram = symbol<decltype(&SetProgramInfo)>("SetProgramInfo");
        getProgress = symbol<decltype(&GetProgInfo)>("GetProgInfo");
    }
    ~Library() { dlclose(m_handle); }

    // The answer for an address, empty when refused; the buffer must stay untouched then.
    std::string play(const std::string& url) {
        std::array<char, LUMORA_ANSWER_SIZE> answer{};
        if (setProgram(url.c_str(), 42, 2, 2, answer.data()) == 0) {
            EXPECT_EQ(answer, (std::array<char, LUMORA_ANSWER_SIZE>{})) << url;
            return {};
        }
        EXPECT_EQ(answer.back(), '\0');
        return answer.data();
    }
    int percent(int32_t number) {
        int32_t percent = -1, spare1 = 0, spare2 = 0;
        return getProgress(number, &percent, &spare1, &spare2) != 0 ? percent : -1;
    }

    decltype(&Initlumora) init = nullptr;
    decltype(&UnInitlumora) uninit = nullptr;
    decltype(&ClientLoginIn) login = nullptr;
    decltype(&SetProgramInfo) setProgram = nullptr;
    decltype(&GetProgInfo) getProgress = nullptr;

private:
    template <typename F> F symbol(const char* name) {
        auto* found = reinterpret_cast<F>(dlsym(m_handle, name));
        if (found == nullptr)
            throw std::runtime_error(name);
        return found;
    }
    void* m_handle;
};

int32_t numberIn(const std::string& answer) {
    const auto start = answer.find("P2P/") + 4;
    return std::stoi(answer.substr(start, answer.size() - 4 - start));
}

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("LUMORA_ENGINE_STORE", store().c_str(), 1); }
    void TearDown() override { unsetenv("LUMORA_ENGINE_STORE"); }
    std::string store() const { return m_dir.path().toStdString() + "store"; }

    TempDir m_dir;
    SourceServer m_source;
};

TEST_F(LibraryTest, DownloadsAndAnswersThroughTheCInterface) {
    const std::string body = randomBytes(2 * 1024 * 1024, 21);
    m_source.serve("/1/0123456789ABCDEF.flv", body);
    Library engine(LUMORA_ENGINE_LIBRARY);
    EXPECT_EQ(engine.play(m_source.url("/1/0123456789ABCDEF.flv")), ""); // not started yet
    ASSERT_NE(engine.init(33554455, nullptr, nullptr, nullptr, &onProgress), 0);

    const std::string answer = engine.play(m_source.url("/1/0123456789ABCDEF.flv"));
    EXPECT_TRUE(std::regex_match(answer, std::regex(R"(http://127\.0\.0\.1:\d+/P2P/\d+\.flv)")))
        << answer;
    const int32_t number = numberIn(answer);
    ASSERT_TRUE(waitUntil([&] { return g_completedNumber == number; }));
    EXPECT_EQ(engine.percent(number), 100);
    EXPECT_EQ(engine.play(m_source.url("/1/0123456789ABCDEF.flv")), answer);

    // A second start changes nothing.
    EXPECT_NE(engine.init(1, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(engine.play(m_source.url("/1/0123456789ABCDEF.flv")), answer);
    int stored = 0;
    for (const auto& entry : std::filesystem::directory_iterator(store()))
        stored += entry.path().extension() == ".flv" ? 1 : 0;
    EXPECT_EQ(stored, 1);
    engine.uninit();
    engine.uninit();
    EXPECT_EQ(engine.percent(number), -1);
}

TEST_F(LibraryTest, RefusesUnusableAddressesAndQuestions) {
    Library engine(LUMORA_ENGINE_LIBRARY);
    engine.uninit(); // without a start: harmless
    ASSERT_NE(engine.init(1, nullptr, nullptr, nullptr, nullptr), 0);
    for (const std::string& url :
         {std::string(), std::string("ftp://127.0.0.1/a.flv"), std::string("127.0.0.1/a.flv"),
          m_source.url("/a.fl"), m_source.url("/1/a"), m_source.base(),
          m_source.url("/" + std::string(1100, 'a') + ".flv")})
        EXPECT_EQ(engine.play(url), "") << url.substr(0, 60);
    std::array<char, LUMORA_ANSWER_SIZE> answer{};
    EXPECT_EQ(engine.setProgram(nullptr, 1, 2, 2, answer.data()), 0);
    EXPECT_EQ(engine.setProgram(m_source.url("/a.flv").c_str(), 1, 2, 2, nullptr), 0);

    int32_t percent = 0;
    EXPECT_EQ(engine.getProgress(12345, &percent, &percent, &percent), 0);
    EXPECT_EQ(engine.getProgress(-1, &percent, nullptr, nullptr), 0);
    const int32_t number = numberIn(engine.play(m_source.url("/1/x.mp3")));
    EXPECT_EQ(engine.getProgress(number, nullptr, nullptr, nullptr), 0);
    EXPECT_NE(engine.getProgress(number, &percent, nullptr, nullptr), 0);
    engine.uninit();
}

TEST_F(LibraryTest, StopsPromptlyMidDownloadAndLeavesNoThreadBehind) {
    SourceServer::Behaviour slow;
    slow.pause = 50ms;
    m_source.serve("/1/slow.flv", randomBytes(4 * 1024 * 1024, 22), slow);
    const int before = threadCount();
    {
        Library engine(LUMORA_ENGINE_LIBRARY);
        ASSERT_NE(engine.init(1, nullptr, nullptr, nullptr, nullptr), 0);
        const int32_t number = numberIn(engine.play(m_source.url("/1/slow.flv")));
        // A login on another thread meanwhile, as the client's login thread does.
        std::thread login([&] { EXPECT_NE(engine.login(5, m_source.base().c_str()), 0); });
        ASSERT_TRUE(waitUntil([&] { return engine.percent(number) >= 1; }));
        login.join();
        const auto started = std::chrono::steady_clock::now();
        engine.uninit();
        EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    }
    EXPECT_TRUE(waitUntil([&] { return threadCount() == before; }, 2s)) << threadCount();
    EXPECT_EQ(m_source.loginCodes(), std::vector<std::string>{"5"});
}

TEST_F(LibraryTest, LogsInWithoutAStartedEngine) {
    Library engine(LUMORA_ENGINE_LIBRARY);
    EXPECT_NE(engine.login(33554455, m_source.base().c_str()), 0);
    EXPECT_EQ(engine.login(1, ""), 0);
    EXPECT_EQ(engine.login(1, nullptr), 0);
    EXPECT_EQ(m_source.loginCodes(), std::vector<std::string>{"33554455"});
}

TEST_F(LibraryTest, KeepsItsStoreBesideTheLibraryByDefault) {
    unsetenv("LUMORA_ENGINE_STORE");
    const std::filesystem::path folder = m_dir.path().toStdString() + "Client";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(LUMORA_ENGINE_LIBRARY, folder / "libLumora.so");
    m_source.serve("/1/here.swf", "FWS");
    Library engine((folder / "libLumora.so").string());
    ASSERT_NE(engine.init(1, nullptr, nullptr, nullptr, nullptr), 0);
    const int32_t number = numberIn(engine.play(m_source.url("/1/here.swf")));
    ASSERT_TRUE(waitUntil([&] { return engine.percent(number) == 100; }));
    engine.uninit();
    int stored = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "P2PStore"))
        stored += entry.path().extension() == ".swf" ? 1 : 0;
    EXPECT_EQ(stored, 1);
}

} // namespace
} // namespace lumora::test
