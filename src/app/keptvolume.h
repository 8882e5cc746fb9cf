#pragma once

#include "volume.h"

#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>

namespace lumora {

// Keeps the program's volume across starts in the per-user settings, as the system kept the
// wave-out volume: restored at creation, written only after the volume changed to an audible
// level, a short while after the last change (a dragged slider changes it many times) and at
// the latest when this object ends.
class KeptVolume {
public:
    static constexpr std::chrono::milliseconds kWriteDelay{500};

    KeptVolume(ProgramVolume& volume, QString localIniPath,
               std::chrono::milliseconds writeDelay = kWriteDelay);
    ~KeptVolume();
    KeptVolume(const KeptVolume&) = delete;
    KeptVolume& operator=(const KeptVolume&) = delete;

    // Writes a change not written yet.
    void flush();

private:
    ProgramVolume& m_volume;
    QString m_path;
    std::uint32_t m_kept;
    int m_subscription = 0;
    QTimer m_timer;
};

} // namespace lumora
