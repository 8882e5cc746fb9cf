#pragma once

#include "options.h"

#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>

namespace lumora::demo {

// The demo site on 127.0.0.1: the site's pages, the programme downloads under their enciphered
// names (with Range), the sign-in, and per-path status codes for tests.
class DemoService {
public:
    explicit DemoService(ServiceOptions options);

    // Binds 127.0.0.1 and returns the port, or -1 with the reason in error.
    int bind(std::string& error);
    void run(); // serves until stop()
    void stop();
    bool isRunning() const { return m_server.is_running(); }
    const std::map<std::string, std::filesystem::path>& programmes() const { return m_programmes; }

private:
    void handle(const httplib::Request& req, httplib::Response& res);
    void serveProgramme(const httplib::Request& req, const std::filesystem::path& file,
                        httplib::Response& res);
    void log(const httplib::Request& req, const httplib::Response& res);

    ServiceOptions m_options;
    std::map<std::string, std::filesystem::path> m_programmes;
    httplib::Server m_server;
    std::mutex m_logMutex;
    std::ofstream m_log;
};

} // namespace lumora::demo
