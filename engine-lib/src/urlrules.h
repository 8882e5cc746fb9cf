#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumora::p2p {

// Longest download address accepted: the client's answer buffer bounds the texts it hands over.
inline constexpr std::size_t kMaxUrlLength = 1023;
inline constexpr std::string_view kPlayPrefix = "/P2P/";

// The four-character extension (".flv") of an acceptable download address, nullopt when the
// address is not a plain http(s) address ending in one.
std::optional<std::string> downloadExtension(std::string_view downUrl);

// File name in the store for an address: a hash of the whole address plus its extension, so no
// part of the address ever reaches the file system.
std::string storeFileName(std::string_view downUrl, std::string_view ext);

// The play address the engine answers with.
std::string playAddress(std::uint16_t port, std::int32_t number, std::string_view ext);

struct PlayPath {
    std::int32_t number = 0;
    std::string ext;
};
// Reads "/P2P/<number><ext>" back; nullopt for any other path.
std::optional<PlayPath> parsePlayPath(std::string_view path);

// MIME type for a programme's extension.
std::string contentTypeFor(std::string_view ext);

// urlHome + "/client/login?code=<clientCode>", nullopt when urlHome cannot be used.
std::optional<std::string> loginAddress(std::string_view urlHome, std::int32_t clientCode);

} // namespace lumora::p2p
