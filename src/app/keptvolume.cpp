#include "keptvolume.h"

#include "config.h"
#include "inistore.h"

namespace lumora {

KeptVolume::KeptVolume(ProgramVolume& volume, QString localIniPath,
                       std::chrono::milliseconds writeDelay)
    : m_volume(volume), m_path(std::move(localIniPath)) {
    bool ok = false;
    std::uint32_t kept = 0;
    // An unreadable file keeps nothing; the volume stays full.
    if (const Outcome<QString> text = readIniValue(m_path, ini::Section, ini::KeyVolume))
        kept = text->toUInt(&ok);
    // The read answers "0" for an absent key, which is no volume anyone set.
    if (ok && kept != 0)
        m_volume.write(kept);
    m_kept = m_volume.read();
    m_timer.setSingleShot(true);
    m_timer.setInterval(writeDelay);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { flush(); });
    m_subscription = m_volume.subscribe([this](std::uint32_t) { m_timer.start(); });
}

KeptVolume::~KeptVolume() {
    m_volume.unsubscribe(m_subscription);
    flush();
}

void KeptVolume::flush() {
    m_timer.stop();
    const std::uint32_t now = m_volume.read();
    // Silence (muted, or the slider at the bottom) is not kept: the next start is audible.
    if (now == m_kept || now == 0)
        return;
    if (writeIniValue(m_path, ini::Section, ini::KeyVolume, QString::number(now)))
        m_kept = now;
}

} // namespace lumora
