#include "byterange.h"
#include "fuzzcheck.h"

#include <cstdint>
#include <cstring>
#include <string_view>

// Input: one byte of file size (0..127), or 0x80 and up followed by eight bytes of size
// (little-endian, sign bit dropped); the rest is the Range header value. Small sizes matter
// most (empty file, one byte), so they take the short form.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using lumora::p2p::ByteRange;
    if (size == 0)
        return 0;
    std::int64_t total = data[0];
    std::size_t head = 1;
    if (data[0] & 0x80) {
        std::uint64_t raw = 0;
        if (size < 1 + sizeof raw)
            return 0;
        std::memcpy(&raw, data + 1, sizeof raw);
        total = std::int64_t(raw >> 1);
        head += sizeof raw;
    }
    const std::string_view header(reinterpret_cast<const char*>(data) + head, size - head);

    const ByteRange range = lumora::p2p::parseByteRange(header, total);
    switch (range.kind) {
    case ByteRange::Kind::Whole:
    case ByteRange::Kind::Unsatisfiable:
        break;
    case ByteRange::Kind::Partial:
        // A partial answer must lie inside the file and be non-empty.
        LUMORA_FUZZ_CHECK(total > 0);
        LUMORA_FUZZ_CHECK(range.first >= 0);
        LUMORA_FUZZ_CHECK(range.first <= range.last);
        LUMORA_FUZZ_CHECK(range.last <= total - 1);
        break;
    default:
        LUMORA_FUZZ_CHECK(!"unknown range kind");
    }
    // Only a header naming bytes can ask for less than the whole file.
    if (range.kind != ByteRange::Kind::Whole)
        LUMORA_FUZZ_CHECK(header.find("bytes=") != std::string_view::npos);
    return 0;
}
