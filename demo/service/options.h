#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace lumora::demo {

struct ServiceOptions {
    int port = 0; // 0: the system picks a free one
    std::filesystem::path portFile;
    std::filesystem::path logFile;
    std::filesystem::path siteDir;
    std::filesystem::path filesDir;
    std::int64_t throttle = 0;                  // bytes per second of a download; 0: unlimited
    std::map<std::string, int> statusOverrides; // path -> status answered instead
    bool list = false; // print the download paths and their files, then end
};

// Parses the command line (without the program name). Returns an error text, empty on success.
std::string parseOptions(const std::vector<std::string>& args, ServiceOptions& options);

extern const char* const kUsage;

} // namespace lumora::demo
