#include "filestore.h"

#include "requests.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace lumora::demo {

namespace {

// Every type code with an extension of its own; typeExtension owns the mapping.
constexpr std::array<const char*, 6> kTypes{"1", "2", "3", "4", "10", "11"};

bool containsNoCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           }) != text.end();
}

} // namespace

std::optional<std::filesystem::path> safeRelativePath(std::string_view path,
                                                      std::string_view rawTarget) {
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    for (const char* encoded : {"%2e", "%2f", "%5c", "%00"})
        if (containsNoCase(rawTarget, encoded))
            return std::nullopt;
    std::filesystem::path relative;
    std::size_t start = 1;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view segment = path.substr(start, end - start);
        const bool last = end == path.size();
        if ((segment.empty() && !last) || segment == "." || segment == ".." ||
            std::any_of(segment.begin(), segment.end(),
                        [](char c) { return c == '\\' || static_cast<unsigned char>(c) < 0x20; }))
            return std::nullopt;
        if (!segment.empty())
            relative /= std::string(segment);
        start = end + 1;
    }
    return relative;
}

std::map<std::string, std::filesystem::path> programmeTable(const std::filesystem::path& filesDir) {
    std::map<std::string, std::filesystem::path> table;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(filesDir, error)) {
        if (!entry.is_regular_file())
            continue;
        const std::string stem = entry.path().stem().string();
        const QString extension = QString::fromStdString(entry.path().extension().string());
        if (stem.empty() || stem.size() > 9 ||
            !std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        for (const char* type : kTypes) {
            if (typeExtension(QString::fromLatin1(type)) != extension)
                continue;
            const QString address = downloadAddress(QStringLiteral("/files/"), std::stoi(stem),
                                                    QString::fromLatin1(type));
            table.emplace(address.toStdString(), entry.path());
        }
    }
    return table;
}

std::string contentType(const std::filesystem::path& file) {
    static const std::map<std::string, std::string> types{{".html", "text/html; charset=utf-8"},
                                                          {".htm", "text/html; charset=utf-8"},
                                                          {".swf", "application/x-shockwave-flash"},
                                                          {".flv", "video/x-flv"},
                                                          {".mp3", "audio/mpeg"},
                                                          {".txt", "text/plain; charset=utf-8"},
                                                          {".zip", "application/zip"},
                                                          {".rar", "application/vnd.rar"},
                                                          {".png", "image/png"},
                                                          {".css", "text/css"},
                                                          {".js", "text/javascript"}};
    const auto found = types.find(file.extension().string());
    return found == types.end() ? "application/octet-stream" : found->second;
}

} // namespace lumora::demo
