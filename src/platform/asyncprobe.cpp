#include "asyncprobe.h"

#include <QPointer>

namespace lumora {

bool probeQuietly(UrlProbe& probe, const QString& address) {
    try {
        return probe.isUrlReachable(address);
    } catch (...) {
        return false;
    }
}

void InlineUrlProbe::askReachable(const QString& address, QObject* context, Answer answer) {
    const QPointer<QObject> guard(context);
    const bool reachable = probeQuietly(m_probe, address);
    if (guard)
        answer(reachable);
}

void navigateWithRetry(AsyncUrlProbe& probe, const QString& address, const QString& fallback,
                       QObject* context, std::function<void(const QString&)> navigate) {
    auto go = [navigate](const QString& to) {
        try {
            if (navigate)
                navigate(to);
        } catch (...) {
            // The pane keeps what it showed.
        }
    };
    probe.askReachable(address, context, [&probe, address, fallback, context, go](bool reachable) {
        if (reachable)
            return go(address);
        probe.askReachable(address, context,
                           [address, fallback, go](bool again) { go(again ? address : fallback); });
    });
}

} // namespace lumora
