#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace lumora::demo {

// The path of a request below a served folder, or nothing when the request could leave it
// ("..", a backslash, an empty segment, a control character or an encoded dot, slash or
// backslash in the raw target).
std::optional<std::filesystem::path> safeRelativePath(std::string_view path,
                                                      std::string_view rawTarget);

// Download path ("/files/" + folder + "/" + enciphered id + extension) -> file, for every file
// "<id><extension>" of the folder whose extension belongs to a programme type.
std::map<std::string, std::filesystem::path> programmeTable(const std::filesystem::path& filesDir);

std::string contentType(const std::filesystem::path& file);

} // namespace lumora::demo
