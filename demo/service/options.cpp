#include "options.h"

#include <charconv>

namespace lumora::demo {

const char* const kUsage =
    "usage: lumora-demo-service --site DIR --files DIR [--port N] [--port-file FILE]\n"
    "                           [--log FILE] [--throttle BYTES_PER_SEC] [--status PATH=CODE]...\n"
    "       lumora-demo-service --site DIR --files DIR --list\n";

namespace {

bool toNumber(const std::string& text, std::int64_t& value, std::int64_t max) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= 0 && value <= max;
}

} // namespace

std::string parseOptions(const std::vector<std::string>& args, ServiceOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--list") {
            options.list = true;
            continue;
        }
        if (i + 1 >= args.size())
            return name + " needs a value";
        const std::string& value = args[++i];
        std::int64_t number = 0;
        if (name == "--port") {
            if (!toNumber(value, number, 65535))
                return "--port needs a number from 0 to 65535";
            options.port = static_cast<int>(number);
        } else if (name == "--port-file") {
            options.portFile = value;
        } else if (name == "--log") {
            options.logFile = value;
        } else if (name == "--site") {
            options.siteDir = value;
        } else if (name == "--files") {
            options.filesDir = value;
        } else if (name == "--throttle") {
            if (!toNumber(value, number, INT64_MAX))
                return "--throttle needs a number of bytes per second";
            options.throttle = number;
        } else if (name == "--status") {
            const auto eq = value.rfind('=');
            if (eq == std::string::npos || eq == 0 || value[0] != '/' ||
                !toNumber(value.substr(eq + 1), number, 599) || number < 100)
                return "--status needs PATH=CODE, for example /ad/StatusBar23.html=404";
            options.statusOverrides[value.substr(0, eq)] = static_cast<int>(number);
        } else {
            return "unknown option " + name;
        }
    }
    if (options.siteDir.empty() || options.filesDir.empty())
        return "--site and --files are needed";
    return {};
}

} // namespace lumora::demo
