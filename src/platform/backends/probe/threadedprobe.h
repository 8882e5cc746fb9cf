#pragma once

#include "asyncprobe.h"
#include "urlprobe.h"

#include <QObject>
#include <QString>

#include <memory>

namespace lumora {

// Runs a blocking probe on a thread of its own for each question. A question still open when
// this object goes is dropped; its thread ends within the probe's own time bound.
class ThreadedUrlProbe : public AsyncUrlProbe {
public:
    explicit ThreadedUrlProbe(std::shared_ptr<UrlProbe> probe);
    ~ThreadedUrlProbe() override;

    void askReachable(const QString& address, QObject* context, Answer answer) override;

private:
    struct Relay;
    std::shared_ptr<UrlProbe> m_probe;
    std::shared_ptr<Relay> m_relay;
};

} // namespace lumora
