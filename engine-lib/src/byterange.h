#pragma once

#include <cstdint>
#include <string_view>

namespace lumora::p2p {

struct ByteRange {
    enum class Kind { Whole, Partial, Unsatisfiable };
    Kind kind = Kind::Whole;
    std::int64_t first = 0; // inclusive
    std::int64_t last = 0;  // inclusive
};

// Applies a Range header value to a file of total bytes. A single "bytes=a-b", "bytes=a-" or
// "bytes=-n" range is honoured; anything the server may ignore (no header, bad syntax, several
// ranges) gives Whole.
ByteRange parseByteRange(std::string_view header, std::int64_t total);

} // namespace lumora::p2p
