#pragma once

#include <cstdint>
#include <string_view>

namespace lumora::p2p {

// Signs the client in to the site: GET urlHome/client/login?code=<clientCode> with a bounded
// timeout. True on a 2xx answer. Needs no running engine and may run on any thread.
bool clientLogin(std::int32_t clientCode, std::string_view urlHome, long timeoutSeconds = 10);

} // namespace lumora::p2p
