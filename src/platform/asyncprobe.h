#pragma once

#include "urlprobe.h"

#include <QObject>
#include <QString>

#include <functional>

namespace lumora {

// Reachability asked without waiting: the answer comes later, on the thread that asked, and
// never once `context` is gone. A probe that fails answers false.
class AsyncUrlProbe {
public:
    using Answer = std::function<void(bool reachable)>;
    virtual ~AsyncUrlProbe() = default;
    virtual void askReachable(const QString& address, QObject* context, Answer answer) = 0;
};

// Asks on the caller's thread and answers before returning: for tests and tools, where the
// wait harms nobody.
class InlineUrlProbe : public AsyncUrlProbe {
public:
    explicit InlineUrlProbe(UrlProbe& probe) : m_probe(probe) {}
    void askReachable(const QString& address, QObject* context, Answer answer) override;

private:
    UrlProbe& m_probe;
};

// The probe's answer; false when it throws.
bool probeQuietly(UrlProbe& probe, const QString& address);

// Navigates to address once the probe finds it reachable, asking a second time before giving
// up; otherwise navigates to fallback. Nothing thrown by navigate leaves the continuation.
void navigateWithRetry(AsyncUrlProbe& probe, const QString& address, const QString& fallback,
                       QObject* context, std::function<void(const QString&)> navigate);

} // namespace lumora
