#include "fileversion.h"

#include <elf.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <fstream>
#include <vector>

namespace lumora {
namespace {

std::uint32_t readLe32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void writeLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

bool readAt(std::ifstream& in, std::uint64_t offset, void* out, std::size_t size) {
    in.clear();
    in.seekg(std::streamoff(offset));
    in.read(static_cast<char*>(out), std::streamsize(size));
    return bool(in);
}

// The section's bytes; only 64-bit little-endian ELF, which is what we build.
std::optional<std::vector<std::uint8_t>> readSection(const std::string& path, const char* name) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    Elf64_Ehdr eh{};
    if (!readAt(in, 0, &eh, sizeof eh) || std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 ||
        eh.e_ident[EI_CLASS] != ELFCLASS64 || eh.e_ident[EI_DATA] != ELFDATA2LSB ||
        eh.e_shentsize != sizeof(Elf64_Shdr) || eh.e_shstrndx >= eh.e_shnum || eh.e_shnum > 4096)
        return std::nullopt;
    std::vector<Elf64_Shdr> sections(eh.e_shnum);
    if (!readAt(in, eh.e_shoff, sections.data(), sections.size() * sizeof(Elf64_Shdr)))
        return std::nullopt;
    const Elf64_Shdr& strtab = sections[eh.e_shstrndx];
    if (strtab.sh_size > (1u << 20))
        return std::nullopt;
    std::vector<char> names(strtab.sh_size + 1, '\0');
    if (!readAt(in, strtab.sh_offset, names.data(), strtab.sh_size))
        return std::nullopt;
    for (const Elf64_Shdr& sh : sections) {
        if (sh.sh_name >= strtab.sh_size || std::strcmp(&names[sh.sh_name], name) != 0)
            continue;
        if (sh.sh_type == SHT_NOBITS || sh.sh_size > 4096)
            return std::nullopt;
        std::vector<std::uint8_t> bytes(sh.sh_size);
        if (!readAt(in, sh.sh_offset, bytes.data(), bytes.size()))
            return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

} // namespace

std::array<std::uint8_t, 12> encodeFileVersion(const FileVersion& v) {
    std::array<std::uint8_t, 12> out{};
    writeLe32(out.data(), kFileVersionSignature);
    writeLe32(out.data() + 4, std::uint32_t(v.parts[0]) << 16 | v.parts[1]);
    writeLe32(out.data() + 8, std::uint32_t(v.parts[2]) << 16 | v.parts[3]);
    return out;
}

std::optional<FileVersion> decodeFileVersion(const std::uint8_t* bytes, std::size_t size) {
    if (size < 12 || readLe32(bytes) != kFileVersionSignature)
        return std::nullopt;
    const std::uint32_t ms = readLe32(bytes + 4);
    const std::uint32_t ls = readLe32(bytes + 8);
    return FileVersion{{std::uint16_t(ms >> 16), std::uint16_t(ms & 0xFFFF),
                        std::uint16_t(ls >> 16), std::uint16_t(ls & 0xFFFF)}};
}

std::optional<FileVersion> readFileVersion(const std::string& path) {
    const auto bytes = readSection(path, kFileVersionSection);
    if (!bytes)
        return std::nullopt;
    return decodeFileVersion(bytes->data(), bytes->size());
}

std::optional<FileVersion> parseFileVersion(const std::string& text) {
    FileVersion v;
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 4; ++i) {
        unsigned value = 0;
        const auto [next, ec] = std::from_chars(p, end, value);
        if (ec != std::errc() || value > 0xFFFF)
            return std::nullopt;
        v.parts[std::size_t(i)] = std::uint16_t(value);
        p = next;
        if (i < 3) {
            if (p == end || *p != '.')
                return std::nullopt;
            ++p;
        }
    }
    if (p != end)
        return std::nullopt;
    return v;
}

std::string programFilePath() {
    std::vector<char> buf(4096);
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return {};
    return std::string(buf.data(), std::size_t(n));
}

} // namespace lumora
