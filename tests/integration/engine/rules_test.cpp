// The engine's pure rules: which download addresses it takes, its play paths, login address
// and byte ranges.
#include "byterange.h"
#include "urlrules.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora::p2p {
namespace {

struct ExtensionCase {
    std::string url;
    std::optional<std::string> ext;
};

class DownloadExtension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(DownloadExtension, AcceptsOnlyPlainHttpAddressesWithAnExtension) {
    EXPECT_EQ(downloadExtension(GetParam().url), GetParam().ext) << GetParam().url;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DownloadExtension,
    ::testing::Values(
        ExtensionCase{"http://dl.example.com/1/0123456789ABCDEF.flv", ".flv"},
        ExtensionCase{"https://dl.example.com/2/A.swf", ".swf"},
        ExtensionCase{"HTTP://dl.example.com/2/A.MP3", ".MP3"},
        ExtensionCase{"http://h/a/../../b.mp3", ".mp3"}, // the store name ignores the path
        ExtensionCase{"", std::nullopt}, ExtensionCase{"ftp://dl.example.com/a.flv", std::nullopt},
        ExtensionCase{"file:///etc/a.flv", std::nullopt},
        ExtensionCase{"dl.example.com/a.flv", std::nullopt},
        ExtensionCase{"http:///a.flv", std::nullopt},         // no host
        ExtensionCase{"http://dl.example.com", std::nullopt}, // ".com" is the host's
        ExtensionCase{"http://dl.example.com/", std::nullopt},
        ExtensionCase{"http://dl.example.com/1/a", std::nullopt},    // no extension
        ExtensionCase{"http://dl.example.com/1/a.fl", std::nullopt}, // three characters
        ExtensionCase{"http://dl.example.com/1/a.f/v", std::nullopt},
        ExtensionCase{"http://dl.example.com/1/a.f%v", std::nullopt},
        ExtensionCase{"http://dl.example.com/1/a b.flv", std::nullopt},
        ExtensionCase{"http://dl.example.com/1/a\n.flv", std::nullopt},
        ExtensionCase{"http://h/" + std::string(kMaxUrlLength - 13, 'a') + ".flv", ".flv"},
        ExtensionCase{"http://h/" + std::string(kMaxUrlLength - 12, 'a') + ".flv",
                      std::nullopt})); // one byte over

TEST(StoreFileName, IsAHashOfTheWholeAddressSoNoPathReachesTheDisk) {
    const std::string name = storeFileName("http://h/../../etc/passwd.flv", ".FLV");
    EXPECT_EQ(name.size(), 16u + 4u);
    EXPECT_EQ(name.find_first_not_of("0123456789abcdef"), 16u);
    EXPECT_TRUE(name.ends_with(".flv"));
    EXPECT_EQ(name, storeFileName("http://h/../../etc/passwd.flv", ".FLV")); // stable
    EXPECT_NE(name, storeFileName("http://h/../../etc/passwd2.flv", ".FLV"));
}

TEST(PlayPath, RoundTripsThroughThePlayAddress) {
    const std::string address = playAddress(43210, 17, ".swf");
    EXPECT_EQ(address, "http://127.0.0.1:43210/P2P/17.swf");
    const auto path = parsePlayPath(address.substr(address.find("/P2P/")));
    ASSERT_TRUE(path);
    EXPECT_EQ(path->number, 17);
    EXPECT_EQ(path->ext, ".swf");
}

TEST(PlayPath, RefusesOtherPaths) {
    for (const char* path : {"/P2P/.flv", "/P2P/-1.flv", "/P2P/x1.flv", "/P2P/1", "/p2p/1.flv",
                             "/other/1.flv", "/P2P/99999999999.flv", "/P2P/1 .flv"})
        EXPECT_FALSE(parsePlayPath(path)) << path;
}

TEST(ContentType, FollowsTheExtension) {
    EXPECT_EQ(contentTypeFor(".flv"), "video/x-flv");
    EXPECT_EQ(contentTypeFor(".SWF"), "application/x-shockwave-flash");
    EXPECT_EQ(contentTypeFor(".mp3"), "audio/mpeg");
    EXPECT_EQ(contentTypeFor(".zip"), "application/octet-stream");
}

TEST(LoginAddress, AddsSchemeDropsTrailingSlashAndRefusesTheUnusable) {
    EXPECT_EQ(loginAddress("http://site.example/", 33554455),
              "http://site.example/client/login?code=33554455");
    EXPECT_EQ(loginAddress("site.example:8080", -5),
              "http://site.example:8080/client/login?code=-5");
    EXPECT_EQ(loginAddress("https://site.example/base", 1),
              "https://site.example/base/client/login?code=1");
    for (const char* bad : {"", "ftp://site.example", "http://", "http://a b", "file:///x"})
        EXPECT_FALSE(loginAddress(bad, 1)) << bad;
}

struct RangeCase {
    std::string header;
    std::int64_t total;
    ByteRange::Kind kind;
    std::int64_t first;
    std::int64_t last;
};

class ByteRanges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ByteRanges, ApplyToTheTotal) {
    const RangeCase& c = GetParam();
    const ByteRange range = parseByteRange(c.header, c.total);
    EXPECT_EQ(range.kind, c.kind) << c.header;
    if (c.kind == ByteRange::Kind::Partial) {
        EXPECT_EQ(range.first, c.first) << c.header;
        EXPECT_EQ(range.last, c.last) << c.header;
    }
}

using K = ByteRange::Kind;
INSTANTIATE_TEST_SUITE_P(Cases, ByteRanges,
                         ::testing::Values(RangeCase{"", 100, K::Whole, 0, 0},
                                           RangeCase{"bytes=0-9", 100, K::Partial, 0, 9},
                                           RangeCase{"bytes=50-", 100, K::Partial, 50, 99},
                                           RangeCase{"bytes=90-200", 100, K::Partial, 90, 99},
                                           RangeCase{"bytes=-10", 100, K::Partial, 90, 99},
                                           RangeCase{"bytes=-500", 100, K::Partial, 0, 99},
                                           RangeCase{"bytes=99-99", 100, K::Partial, 99, 99},
                                           RangeCase{"bytes=100-", 100, K::Unsatisfiable, 0, 0},
                                           RangeCase{"bytes=-0", 100, K::Unsatisfiable, 0, 0},
                                           RangeCase{"bytes=0-", 0, K::Unsatisfiable, 0, 0},
                                           RangeCase{"bytes=9-5", 100, K::Whole, 0, 0},
                                           RangeCase{"bytes=0-1,5-6", 100, K::Whole, 0, 0},
                                           RangeCase{"bytes=a-", 100, K::Whole, 0, 0},
                                           RangeCase{"items=0-5", 100, K::Whole, 0, 0},
                                           RangeCase{"bytes=-", 100, K::Whole, 0, 0}));

} // namespace
} // namespace lumora::p2p
