#include "login.h"

#include "curlglobal.h"
#include "urlrules.h"

#include <curl/curl.h>

#include <memory>

namespace lumora::p2p {

namespace {

// The answer's body is not used; drop it.
size_t discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

} // namespace

bool clientLogin(std::int32_t clientCode, std::string_view urlHome, long timeoutSeconds) {
    const auto address = loginAddress(urlHome, clientCode);
    if (!address)
        return false;
    ensureCurlReady();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(),
                                                               &curl_easy_cleanup);
    if (!handle)
        return false;
    CURL* h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, address->c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 3L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, timeoutSeconds);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, timeoutSeconds);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &discard);
    if (curl_easy_perform(h) != CURLE_OK)
        return false;
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    return status >= 200 && status < 300;
}

} // namespace lumora::p2p
