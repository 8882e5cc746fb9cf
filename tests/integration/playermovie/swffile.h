#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumora::test {

// What the tests check of a SWF file: the header and the list of tags.
struct SwfTag {
    int code = 0;
    std::string body;
};

struct SwfFile {
    char signature[3] = {};
    int version = 0;
    std::uint32_t length = 0; // uncompressed length from the header
    double frameRate = 0;     // frames per second
    int frameCount = 0;
    int widthPx = 0;
    int heightPx = 0;
    std::vector<SwfTag> tags;

    const SwfTag* find(int code) const;
};

// Tag codes used by the tests.
enum SwfTagCode : int {
    kSwfEnd = 0,
    kSwfShowFrame = 1,
    kSwfSetBackgroundColor = 9,
    kSwfFileAttributes = 69,
    kSwfDoAbc = 82,
    kSwfSymbolClass = 76,
};

// Parses FWS or CWS bytes; nothing when the data is not a well-formed SWF (unknown signature,
// failed decompression, length mismatch, a tag running past the end, no End tag).
std::optional<SwfFile> parseSwf(const std::string& bytes);

} // namespace lumora::test
