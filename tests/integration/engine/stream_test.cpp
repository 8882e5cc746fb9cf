// The engine's loopback server: the play address streams while downloading, with ranges.
#include "enginefixture.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumora::test {
namespace {

using namespace std::chrono_literals;
using Behaviour = SourceServer::Behaviour;

// The machine's IPv4 addresses other than loopback ones.
std::vector<in_addr> outwardAddresses() {
    std::vector<in_addr> found;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return found;
    for (const ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET)
            continue;
        const in_addr address = reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr;
        if ((ntohl(address.s_addr) >> 24) != 127)
            found.push_back(address);
    }
    ::freeifaddrs(list);
    return found;
}

bool connects(in_addr address, std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    target.sin_addr = address;
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0;
    ::close(fd);
    return ok;
}

class Stream : public EngineFixture {
protected:
    httplib::Result get(const std::string& path, const httplib::Headers& headers = {}) {
        httplib::Client client("127.0.0.1", m_engine.port());
        client.set_read_timeout(10);
        return client.Get(path.c_str(), headers);
    }
    static std::string playPath(const std::string& address) {
        return address.substr(address.find("/P2P/"));
    }
};

TEST_F(Stream, PlaysTheProgrammeWhileItDownloads) {
    const std::string body = randomBytes(kFiveMegabytes, 11);
    Behaviour slow;
    slow.pause = 15ms; // about 1.2 s for the whole file
    m_source.serve("/1/live.flv", body, slow);
    const auto address = m_engine.requestProgramme(m_source.url("/1/live.flv"));
    ASSERT_TRUE(address);
    const std::int32_t number = numberOf(*address);

    httplib::Client client("127.0.0.1", m_engine.port());
    std::string received;
    int percentAtFirstByte = -1;
    const auto result = client.Get(playPath(*address).c_str(), [&](const char* data, size_t n) {
        if (received.empty())
            percentAtFirstByte = m_engine.percentOf(number).value_or(-1);
        received.append(data, n);
        return true;
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "video/x-flv");
    EXPECT_EQ(result->get_header_value("Access-Control-Allow-Origin"), "*");
    EXPECT_GE(percentAtFirstByte, 0);
    EXPECT_LT(percentAtFirstByte, 50);
    EXPECT_TRUE(received == body);
}

TEST_F(Stream, ARangeAheadOfTheDownloadWaitsForItsBytes) {
    const std::string body = randomBytes(kFiveMegabytes, 12);
    Behaviour slow;
    slow.pause = 10ms;
    m_source.serve("/1/seek.flv", body, slow);
    const auto address = m_engine.requestProgramme(m_source.url("/1/seek.flv"));
    ASSERT_TRUE(address);
    const auto result = get(playPath(*address), {{"Range", "bytes=3000000-3100000"}});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 206);
    EXPECT_EQ(result->get_header_value("Content-Range"),
              "bytes 3000000-3100000/" + std::to_string(body.size()));
    EXPECT_TRUE(result->body == body.substr(3000000, 100001));
}

TEST_F(Stream, AnswersRangesOnACompleteProgramme) {
    const std::string body = randomBytes(100000, 13);
    m_source.serve("/1/done.swf", body);
    const auto address = m_engine.requestProgramme(m_source.url("/1/done.swf"));
    ASSERT_TRUE(address && waitComplete(numberOf(*address)));
    const std::string path = playPath(*address);
    const std::string total = "/" + std::to_string(body.size());
    struct Case {
        const char* range;
        int status;
        std::string contentRange;
        std::string body;
    } cases[] = {
        {"bytes=500-999", 206, "bytes 500-999" + total, body.substr(500, 500)},
        {"bytes=99990-", 206, "bytes 99990-99999" + total, body.substr(99990)},
        {"bytes=-16", 206, "bytes 99984-99999" + total, body.substr(99984)},
        {"bytes=100000-", 416, "bytes */100000", ""},
        {"bytes=0-", 206, "bytes 0-99999" + total, body},
        {"bytes=7-3", 416, "", ""}, // malformed: refused before it reaches the engine
    };
    for (const Case& c : cases) {
        const auto result = get(path, {{"Range", c.range}});
        ASSERT_TRUE(result) << c.range;
        EXPECT_EQ(result->status, c.status) << c.range;
        EXPECT_EQ(result->get_header_value("Content-Range"), c.contentRange) << c.range;
        EXPECT_TRUE(result->body == c.body) << c.range;
        if (c.status == 206) {
            EXPECT_EQ(result->get_header_value("Content-Type"), "application/x-shockwave-flash");
        }
    }
}

TEST_F(Stream, ServesNothingButKnownProgrammes) {
    m_source.serve("/1/known.mp3", "ID3");
    const auto address = m_engine.requestProgramme(m_source.url("/1/known.mp3"));
    ASSERT_TRUE(address && waitComplete(numberOf(*address)));
    const std::string number = std::to_string(numberOf(*address));
    const auto known = get("/P2P/" + number + ".mp3");
    ASSERT_TRUE(known);
    EXPECT_EQ(known->status, 200);
    EXPECT_EQ(known->get_header_value("Content-Type"), "audio/mpeg");
    const std::vector<std::string> others = {
        "/P2P/" + number + ".flv",    "/P2P/9999.mp3", "/", "/P2P/",
        "/P2P/../" + number + ".mp3", "/etc/passwd"};
    for (const std::string& path : others) {
        const auto result = get(path);
        ASSERT_TRUE(result) << path;
        EXPECT_EQ(result->status, 404) << path;
    }
}

TEST_F(Stream, AnswersOnLoopbackOnly) {
    in_addr loopback{};
    loopback.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_TRUE(connects(loopback, m_engine.port()));
    const std::vector<in_addr> outward = outwardAddresses();
    if (outward.empty())
        GTEST_SKIP() << "this machine has no address but loopback";
    for (const in_addr address : outward) {
        SCOPED_TRACE(::inet_ntoa(address));
        EXPECT_FALSE(connects(address, m_engine.port()));
    }
}

} // namespace
} // namespace lumora::test
