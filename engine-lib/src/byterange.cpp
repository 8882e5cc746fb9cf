#include "byterange.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace lumora::p2p {

namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A non-empty run of decimal digits, nothing else.
std::optional<std::int64_t> number(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

ByteRange parseByteRange(std::string_view header, std::int64_t total) {
    using Kind = ByteRange::Kind;
    const ByteRange whole;
    header = trim(header);
    constexpr std::string_view unit = "bytes=";
    if (!header.starts_with(unit))
        return whole;
    const std::string_view rangeText = trim(header.substr(unit.size()));
    const std::size_t dash = rangeText.find('-');
    if (dash == std::string_view::npos || rangeText.find(',') != std::string_view::npos)
        return whole;
    const std::string_view left = trim(rangeText.substr(0, dash));
    const std::string_view right = trim(rangeText.substr(dash + 1));

    ByteRange range{Kind::Partial, 0, total - 1};
    if (left.empty()) {
        const auto suffix = number(right);
        if (!suffix)
            return whole;
        if (*suffix == 0 || total == 0)
            return {Kind::Unsatisfiable, 0, 0};
        range.first = *suffix >= total ? 0 : total - *suffix;
        return range;
    }
    const auto first = number(left);
    if (!first)
        return whole;
    if (!right.empty()) {
        const auto last = number(right);
        if (!last || *last < *first)
            return whole; // syntactically invalid: ignored like a missing header
        range.last = std::min(*last, total - 1);
    }
    if (*first >= total)
        return {Kind::Unsatisfiable, 0, 0};
    range.first = *first;
    return range;
}

} // namespace lumora::p2p
