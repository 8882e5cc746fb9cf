#include "clientlogin.h"
#include "fakes/fakeengine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

using namespace lumora;
using lumora::test::FakeEngine;
using namespace std::chrono_literals;

TEST(TClientLogin, SignsInOnceOnAThreadOfItsOwn) {
    FakeEngine engine;
    new TClientLogin(33554455, QStringLiteral("http://www.例子.cn/"), engine);
    const auto logins = engine.waitForLogins(1, 5s);
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_EQ(logins[0].clientCode, 33554455);
    EXPECT_EQ(logins[0].urlHome, QStringLiteral("http://www.例子.cn/"));
    EXPECT_NE(logins[0].thread, std::this_thread::get_id());
    // No second call follows.
    EXPECT_EQ(engine.waitForLogins(2, 100ms).size(), 1u);
}

TEST(TClientLogin, EmptySiteAddressIsStillHandedOver) {
    FakeEngine engine;
    new TClientLogin(7, QString(), engine);
    const auto logins = engine.waitForLogins(1, 5s);
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_TRUE(logins[0].urlHome.isEmpty());
}

TEST(TClientLogin, FailingLoginIsSwallowed) {
    FakeEngine engine;
    engine.loginThrows = true;
    new TClientLogin(7, QStringLiteral("x"), engine);
    ASSERT_EQ(engine.waitForLogins(1, 5s).size(), 1u);
    // An escaping exception would end the whole test program; give the thread time to unwind.
    std::this_thread::sleep_for(100ms);
    SUCCEED();
}

namespace {
// Enters the login and never returns, like an engine stuck on the network.
class HangingEngine : public FakeEngine {
public:
    bool ClientLoginIn(std::int32_t clientCode, const QString& urlHome) override {
        FakeEngine::ClientLoginIn(clientCode, urlHome);
        for (;;)
            std::this_thread::sleep_for(1h);
    }
};
} // namespace

TEST(TClientLoginDeathTest, ProgramEndsWithoutWaitingForTheLogin) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            auto* engine = new HangingEngine; // lives until the process ends
            new TClientLogin(1, QStringLiteral("x"), *engine);
            if (engine->waitForLogins(1, 5s).size() != 1)
                std::exit(3);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
