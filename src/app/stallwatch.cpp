#include "stallwatch.h"

#include <QSaveFile>

#include <algorithm>

namespace lumora {

StallWatch::StallWatch(const QString& reportPath, QObject* parent)
    : QObject(parent), m_reportPath(reportPath) {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kBeatMs);
    connect(&m_timer, &QTimer::timeout, this, &StallWatch::beat);
    m_timer.start();
}

void StallWatch::beat() {
    // Beats count from the first one: the time before the event loop runs is start-up time.
    if (!m_clock.isValid()) {
        m_clock.start();
        return;
    }
    const qint64 now = m_clock.elapsed();
    const qint64 lateness = std::max<qint64>(now - m_last - kBeatMs, 0);
    m_last = now;
    if (lateness <= m_worst)
        return;
    m_worst = lateness;
    // Written at once: the program may be killed at the end of the measurement.
    QSaveFile report(m_reportPath);
    if (report.open(QIODevice::WriteOnly)) {
        report.write(QByteArray::number(m_worst) + '\n');
        report.commit();
    }
}

} // namespace lumora
