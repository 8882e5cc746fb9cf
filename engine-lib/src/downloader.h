#pragma once

#include "programme.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace lumora::p2p {

struct DownloadLimits {
    int maxRetriesWithoutProgress = 8;
    std::chrono::milliseconds firstBackoff{100};
    std::chrono::milliseconds maxBackoff{2000};
    long connectTimeoutSeconds = 10;
    long stallTimeoutSeconds = 30; // below 1 byte/s for this long counts as a dropped link
};

using ProgressSink = std::function<void(std::int32_t number, std::int32_t percent)>;

// Downloads the programme's address into its .part file, resuming after dropped connections,
// and renames it once its size matches the announced total. Reports each whole-percent change.
// Returns when done, failed, or when the programme is closed.
void runDownload(Programme& programme, const ProgressSink& progress,
                 const DownloadLimits& limits = {});

} // namespace lumora::p2p
