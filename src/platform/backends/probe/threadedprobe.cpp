#include "threadedprobe.h"

#include <QPointer>

#include <mutex>
#include <thread>

namespace lumora {

// Answers go through an object of the asking thread; workers reach it only under the lock, so
// it cannot vanish between their check and their post.
struct ThreadedUrlProbe::Relay {
    std::mutex mutex;
    std::unique_ptr<QObject> receiver = std::make_unique<QObject>();
};

ThreadedUrlProbe::ThreadedUrlProbe(std::shared_ptr<UrlProbe> probe)
    : m_probe(std::move(probe)), m_relay(std::make_shared<Relay>()) {}

ThreadedUrlProbe::~ThreadedUrlProbe() {
    std::unique_ptr<QObject> receiver;
    {
        const std::lock_guard lock(m_relay->mutex);
        receiver = std::move(m_relay->receiver);
    }
}

void ThreadedUrlProbe::askReachable(const QString& address, QObject* context, Answer answer) {
    const QPointer<QObject> guard(context);
    std::thread([probe = m_probe, relay = m_relay, address, guard,
                 answer = std::move(answer)]() mutable {
        const bool reachable = probeQuietly(*probe, address);
        const std::lock_guard lock(relay->mutex);
        if (!relay->receiver)
            return;
        QMetaObject::invokeMethod(
            relay->receiver.get(),
            [guard, answer = std::move(answer), reachable] {
                if (guard)
                    answer(reachable);
            },
            Qt::QueuedConnection);
    }).detach();
}

} // namespace lumora
