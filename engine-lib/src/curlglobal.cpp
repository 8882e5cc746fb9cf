#include "curlglobal.h"

#include <curl/curl.h>

#include <mutex>

namespace lumora::p2p {

void ensureCurlReady() {
    // Never cleaned up: a login call may still be running while the process ends.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace lumora::p2p
