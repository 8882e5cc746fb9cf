#include "awakeguard.h"

#include "mediasession.h"
#include "screensaver.h"

namespace lumora {

AwakeGuard::AwakeGuard(MediaSession& session, ScreenSaverInhibitor& inhibitor, QString reason,
                       QObject* parent)
    : QObject(parent), m_session(session), m_inhibitor(inhibitor), m_reason(std::move(reason)) {
    connect(&m_session, &MediaSession::changed, this, &AwakeGuard::follow);
    follow();
}

AwakeGuard::~AwakeGuard() {
    if (m_held)
        m_inhibitor.release();
}

void AwakeGuard::follow() {
    const bool wanted = m_session.keepsScreenAwake();
    if (wanted == m_held)
        return;
    m_held = wanted;
    if (wanted)
        m_inhibitor.inhibit(m_reason);
    else
        m_inhibitor.release();
}

} // namespace lumora
