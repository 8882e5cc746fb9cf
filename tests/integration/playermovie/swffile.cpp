#include "swffile.h"

#include <zlib.h>

namespace lumora::test {

namespace {

// Reads fields of the bit-packed RECT that follows the header.
class BitReader {
public:
    explicit BitReader(const std::string& data, std::size_t offset)
        : m_data(data), m_bit(offset * 8) {}
    bool read(int count, std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < count; ++i, ++m_bit) {
            if (m_bit / 8 >= m_data.size())
                return false;
            value = (value << 1) | ((std::uint8_t(m_data[m_bit / 8]) >> (7 - m_bit % 8)) & 1);
        }
        return true;
    }
    std::size_t nextByte() const { return (m_bit + 7) / 8; }

private:
    const std::string& m_data;
    std::size_t m_bit;
};

std::uint32_t le(const std::string& data, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | std::uint8_t(data[at + std::size_t(i)]);
    return value;
}

std::optional<std::string> inflateAll(const std::string& input, std::size_t expected) {
    std::string output(expected, '\0');
    uLongf size = uLongf(expected);
    if (uncompress(reinterpret_cast<Bytef*>(output.data()), &size,
                   reinterpret_cast<const Bytef*>(input.data()), uLong(input.size())) != Z_OK ||
        size != expected)
        return std::nullopt;
    return output;
}

} // namespace

const SwfTag* SwfFile::find(int code) const {
    for (const SwfTag& tag : tags)
        if (tag.code == code)
            return &tag;
    return nullptr;
}

std::optional<SwfFile> parseSwf(const std::string& bytes) {
    if (bytes.size() < 8)
        return std::nullopt;
    SwfFile swf;
    bytes.copy(swf.signature, 3);
    swf.version = std::uint8_t(bytes[3]);
    swf.length = le(bytes, 4, 4);
    // A movie of ours is a few kilobytes; the cap keeps a corrupt length from a huge allocation.
    if (swf.length < 8 || swf.length > (64u << 20))
        return std::nullopt;

    std::string data;
    const std::string signature(swf.signature, 3);
    if (signature == "FWS") {
        data = bytes;
    } else if (signature == "CWS") {
        const auto body = inflateAll(bytes.substr(8), swf.length - 8);
        if (!body)
            return std::nullopt;
        data = bytes.substr(0, 8) + *body;
    } else {
        return std::nullopt;
    }
    if (data.size() != swf.length)
        return std::nullopt;

    BitReader bits(data, 8);
    std::uint32_t nbits = 0, xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    if (!bits.read(5, nbits) || !bits.read(int(nbits), xmin) || !bits.read(int(nbits), xmax) ||
        !bits.read(int(nbits), ymin) || !bits.read(int(nbits), ymax))
        return std::nullopt;
    swf.widthPx = int(xmax - xmin) / 20;
    swf.heightPx = int(ymax - ymin) / 20;
    std::size_t at = bits.nextByte();
    if (at + 4 > data.size())
        return std::nullopt;
    swf.frameRate = le(data, at, 2) / 256.0;
    swf.frameCount = int(le(data, at + 2, 2));
    at += 4;

    while (at + 2 <= data.size()) {
        const std::uint32_t head = le(data, at, 2);
        at += 2;
        std::size_t size = head & 0x3f;
        if (size == 0x3f) {
            if (at + 4 > data.size())
                return std::nullopt;
            size = le(data, at, 4);
            at += 4;
        }
        if (size > data.size() - at)
            return std::nullopt;
        swf.tags.push_back({int(head >> 6), data.substr(at, size)});
        at += size;
        if (swf.tags.back().code == kSwfEnd)
            return swf;
    }
    return std::nullopt;
}

} // namespace lumora::test
