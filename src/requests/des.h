#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumora {

// Single DES (FIPS 46-3) in ECB mode with zero padding, as used for the enciphered programme id
// of download addresses. All state lives in the values passed around, so calls are reentrant.

using DesBytes = std::array<std::uint8_t, 8>;

// The 16 round keys of 48 bits (in the low bits), in encryption order.
struct DesSubkeys {
    std::array<std::uint64_t, 16> round{};
};

// The text key the download addresses are enciphered with.
inline constexpr std::string_view ProgrammeKey = "QWV#2017$LINK!KEY";

// Character i (1-based) of the key text is added modulo 256 to byte i mod 8.
DesBytes MakeDesKey(std::string_view keyText);
DesSubkeys DesKeySchedule(const DesBytes& key);
DesBytes DesBlock(const DesSubkeys& subkeys, const DesBytes& block);
// Upper-case hex of the ciphertext, 16 digits per 8-byte block; an empty text is one zero block.
std::string EncryptHex(std::string_view plain, std::string_view keyText);

} // namespace lumora
