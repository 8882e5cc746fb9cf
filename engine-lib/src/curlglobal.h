#pragma once

namespace lumora::p2p {

// libcurl's one-time global set-up, safe to call from any thread.
void ensureCurlReady();

} // namespace lumora::p2p
