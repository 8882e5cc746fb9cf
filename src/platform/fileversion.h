#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

// Four 16-bit numbers major.minor.release.build of a program file.
struct FileVersion {
    std::array<std::uint16_t, 4> parts{};
    bool operator==(const FileVersion&) const = default;
};

// Name of the ELF section that carries the version, and the signature that opens it.
inline constexpr const char* kFileVersionSection = ".fileversion";
inline constexpr std::uint32_t kFileVersionSignature = 0xFEEF04BD;

// Reads the version section of an ELF file; nothing when the file cannot be read, is not ELF,
// has no such section or the signature is wrong.
std::optional<FileVersion> readFileVersion(const std::string& path);

// The 12 bytes of the section for a version (three little-endian 32-bit words).
std::array<std::uint8_t, 12> encodeFileVersion(const FileVersion& version);
std::optional<FileVersion> decodeFileVersion(const std::uint8_t* bytes, std::size_t size);

// "A.B.C.D" with each part 0..65535.
std::optional<FileVersion> parseFileVersion(const std::string& text);

// Full path of the running program file.
std::string programFilePath();

} // namespace lumora
