#include "pageserver.h"

namespace lumora::test {

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

std::string pageBody(const std::string& name) {
    return "<!DOCTYPE html><html><head><title>" + name + "</title></head><body>" + name +
           "</body></html>";
}

} // namespace

PageServer::PageServer() {
    httplib::Server& server = m_http.server();
    // One request per connection: kept-alive connections of the browser would hold up stop().
    server.set_keep_alive_max_count(1);

    server.Get(R"(/page/(\w+))",
               [this](const httplib::Request& request, httplib::Response& response) {
                   record(request);
                   response.set_header("Cache-Control", "max-age=3600");
                   response.set_content(pageBody(request.matches[1]), kHtml);
               });
    server.Get("/redirect", [this](const httplib::Request& request, httplib::Response& response) {
        record(request);
        response.status = 302;
        response.set_header("Location", "/page/target");
    });
    server.Get("/missing", [this](const httplib::Request& request, httplib::Response& response) {
        record(request);
        response.status = 404;
        response.set_content(pageBody("missing"), kHtml);
    });
    server.Get("/program", [this](const httplib::Request& request, httplib::Response& response) {
        record(request);
        response.set_header("Content-Disposition", "attachment; filename=\"setup.sh\"");
        response.set_content("#!/bin/sh\necho ran > /tmp/lumora-pane-ran\n", "application/x-sh");
    });
    m_http.start();
}

void PageServer::record(const httplib::Request& request) {
    const std::lock_guard lock(m_mutex);
    ++m_hits[request.path];
    m_headers[request.path] = request.headers;
}

int PageServer::hits(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_hits.find(path);
    return found == m_hits.end() ? 0 : found->second;
}

std::string PageServer::lastHeader(const std::string& path, const std::string& name) const {
    const std::lock_guard lock(m_mutex);
    const auto headers = m_headers.find(path);
    if (headers == m_headers.end())
        return {};
    const auto found = headers->second.find(name);
    return found == headers->second.end() ? std::string() : found->second;
}

} // namespace lumora::test
