#include "swffile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace lumora::test {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string builtMovie() {
    const char* build = std::getenv("LUMORA_BUILD_DIR");
    return readFile(std::string(build ? build : ".") + "/Client/flvplayer.swf");
}

TEST(PlayerMovieStructure, IsAnAvm2MovieOfVersion11) {
    const std::string bytes = builtMovie();
    ASSERT_FALSE(bytes.empty()) << "flvplayer.swf was not built";
    const auto swf = parseSwf(bytes);
    ASSERT_TRUE(swf.has_value()) << "not a well-formed SWF";

    const std::string signature(swf->signature, 3);
    EXPECT_TRUE(signature == "FWS" || signature == "CWS") << signature;
    EXPECT_EQ(swf->version, 11);
    EXPECT_EQ(swf->widthPx, 640);
    EXPECT_EQ(swf->heightPx, 480);
    EXPECT_DOUBLE_EQ(swf->frameRate, 30.0);
    EXPECT_GE(swf->frameCount, 1);

    // Players look for FileAttributes as the very first tag.
    ASSERT_FALSE(swf->tags.empty());
    ASSERT_EQ(swf->tags.front().code, kSwfFileAttributes);
    ASSERT_FALSE(swf->tags.front().body.empty());
    EXPECT_TRUE(std::uint8_t(swf->tags.front().body[0]) & 0x08) << "ActionScript 3 flag not set";

    const SwfTag* background = swf->find(kSwfSetBackgroundColor);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->body, std::string(3, '\0')) << "background is not black";

    const SwfTag* abc = swf->find(kSwfDoAbc);
    ASSERT_NE(abc, nullptr);
    EXPECT_GT(abc->body.size(), 1000u);
    // The document class: character 0 bound to a class that the bytecode defines.
    const SwfTag* symbols = swf->find(kSwfSymbolClass);
    ASSERT_NE(symbols, nullptr);
    ASSERT_GT(symbols->body.size(), 5u);
    EXPECT_EQ(symbols->body.substr(2, 2), std::string(2, '\0')) << "not character 0";
    const std::string documentClass = symbols->body.substr(4, symbols->body.find('\0', 4) - 4);
    ASSERT_FALSE(documentClass.empty());
    EXPECT_NE(abc->body.find(documentClass), std::string::npos) << documentClass;
    // The names the page calls must be in the bytecode's string pool.
    for (const char* name : {"getDuration", "getPosition", "getPlayState", "sendEvent", "playpause",
                             "position", "file", "showplayerbar", "autostart", "0.swf"})
        EXPECT_NE(abc->body.find(name), std::string::npos) << name;
}

// The reader must refuse damaged files, or the test above could pass on garbage.
TEST(PlayerMovieStructure, ReaderRefusesDamagedFiles) {
    const std::string good = builtMovie();
    ASSERT_TRUE(parseSwf(good).has_value());
    std::string wrongSignature = good;
    wrongSignature[0] = 'X';
    std::string badBody = good;
    for (std::size_t i = 20; i < 60 && i < badBody.size(); ++i)
        badBody[i] = char(badBody[i] ^ 0x5a);
    std::string longerThanSaid = good;
    longerThanSaid[4] = char(std::uint8_t(longerThanSaid[4]) + 1);

    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"header only", good.substr(0, 8)},
        {"cut in half", good.substr(0, good.size() / 2)},
        {"unknown signature", wrongSignature},
        {"damaged body", badBody},
        {"length field off by one", longerThanSaid},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(parseSwf(c.bytes).has_value()) << c.what;
}

} // namespace
} // namespace lumora::test
