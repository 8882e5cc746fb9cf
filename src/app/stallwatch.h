#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace lumora {

// A heartbeat on the thread that runs the event loop: it measures how late each beat comes and
// writes the worst lateness seen so far to a file, so that a benchmark can read how long the
// window was frozen. The program makes one only when asked to.
class StallWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kBeatMs = 10;

    explicit StallWatch(const QString& reportPath, QObject* parent = nullptr);
    qint64 worstLatenessMs() const { return m_worst; }

private:
    void beat();

    QString m_reportPath;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_worst = -1;
};

} // namespace lumora
