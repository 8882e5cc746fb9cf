// The sign-in request against a local site.
#include "login.h"
#include "sourceserver.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace lumora::test {
namespace {

TEST(Login, SendsTheClientCodeToTheSite) {
    SourceServer site;
    EXPECT_TRUE(p2p::clientLogin(33554455, site.base() + "/"));
    // Without a scheme the address is taken as http.
    EXPECT_TRUE(p2p::clientLogin(-7, site.base().substr(7)));
    EXPECT_EQ(site.loginCodes(), (std::vector<std::string>{"33554455", "-7"}));
}

TEST(Login, IsFalseWhenTheSiteRefusesOrCannotBeUsed) {
    SourceServer site;
    site.setLoginStatus(500);
    EXPECT_FALSE(p2p::clientLogin(1, site.base()));
    EXPECT_EQ(site.loginCodes().size(), 1u);
    EXPECT_FALSE(p2p::clientLogin(1, ""));
    EXPECT_FALSE(p2p::clientLogin(1, "ftp://127.0.0.1/"));
}

TEST(Login, GivesUpOnASiteThatNeverAnswers) {
    // A listening socket nobody serves: the connection opens, the answer never comes.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string site = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));

    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(p2p::clientLogin(1, site, 1));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, std::chrono::seconds(3));
    ::close(listener);
}

} // namespace
} // namespace lumora::test
