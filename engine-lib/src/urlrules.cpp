#include "urlrules.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace lumora::p2p {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return lower(a) == lower(b); });
}

// Length of "http://" or "https://" at the start, 0 when neither.
std::size_t schemeLength(std::string_view url) {
    for (std::string_view scheme : {"http://", "https://"}) {
        if (startsWithNoCase(url, scheme))
            return scheme.size();
    }
    return 0;
}

// Blanks and control characters never belong in an address handed to the network.
bool hasUnsafeByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b <= 0x20 || b == 0x7f;
    });
}

bool isAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

std::uint64_t fnv1a64(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

std::optional<std::string> downloadExtension(std::string_view downUrl) {
    const std::size_t scheme = schemeLength(downUrl);
    if (scheme == 0 || downUrl.size() > kMaxUrlLength || hasUnsafeByte(downUrl))
        return std::nullopt;
    const std::size_t pathStart = downUrl.find('/', scheme);
    if (pathStart == std::string_view::npos || pathStart == scheme)
        return std::nullopt; // no host, or no path to take an extension from
    const std::string_view path = downUrl.substr(pathStart);
    if (path.size() < 5)
        return std::nullopt;
    const std::string_view ext = path.substr(path.size() - 4);
    if (ext[0] != '.' || !std::all_of(ext.begin() + 1, ext.end(), isAlnum))
        return std::nullopt;
    return std::string(ext);
}

std::string storeFileName(std::string_view downUrl, std::string_view ext) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(fnv1a64(downUrl)));
    std::string name(hex);
    std::transform(ext.begin(), ext.end(), std::back_inserter(name), lower);
    return name;
}

std::string playAddress(std::uint16_t port, std::int32_t number, std::string_view ext) {
    return "http://127.0.0.1:" + std::to_string(port) + std::string(kPlayPrefix) +
           std::to_string(number) + std::string(ext);
}

std::optional<PlayPath> parsePlayPath(std::string_view path) {
    if (!path.starts_with(kPlayPrefix) || path.size() < kPlayPrefix.size() + 5)
        return std::nullopt;
    const std::string_view digits =
        path.substr(kPlayPrefix.size(), path.size() - 4 - kPlayPrefix.size());
    PlayPath result;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), result.number);
    if (ec != std::errc() || end != digits.data() + digits.size() || result.number < 0)
        return std::nullopt;
    result.ext = std::string(path.substr(path.size() - 4));
    return result;
}

std::string contentTypeFor(std::string_view ext) {
    std::string key(ext);
    std::transform(key.begin(), key.end(), key.begin(), lower);
    if (key == ".flv")
        return "video/x-flv";
    if (key == ".swf")
        return "application/x-shockwave-flash";
    if (key == ".mp3")
        return "audio/mpeg";
    return "application/octet-stream";
}

std::optional<std::string> loginAddress(std::string_view urlHome, std::int32_t clientCode) {
    if (urlHome.empty() || urlHome.size() > kMaxUrlLength || hasUnsafeByte(urlHome))
        return std::nullopt;
    std::string base(urlHome);
    if (base.find("://") == std::string::npos)
        base.insert(0, "http://");
    const std::size_t scheme = schemeLength(base);
    if (scheme == 0)
        return std::nullopt; // ftp://, file:// and the like are not a site
    if (base.back() == '/')
        base.pop_back();
    if (base.size() <= scheme)
        return std::nullopt;
    return base + "/client/login?code=" + std::to_string(clientCode);
}

} // namespace lumora::p2p
