#include "quietwatch.h"

#include <QCoreApplication>
#include <QEvent>

namespace lumora {

namespace {

bool isInput(const QEvent& event) {
    // Qt also makes pointer moves of its own when widgets change under a still pointer.
    if (!event.spontaneous())
        return false;
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        return true;
    default:
        return false;
    }
}

} // namespace

QuietWatch::QuietWatch(std::chrono::milliseconds quietAfter) : m_quietAfter(quietAfter) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QuietWatch::check);
    m_sinceInput.start();
    m_timer.start(m_quietAfter);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

QuietWatch::~QuietWatch() = default;

bool QuietWatch::eventFilter(QObject* watched, QEvent* event) {
    if (isInput(*event)) {
        // Restarting the timer on every pointer move would cost more than the check.
        m_sinceInput.restart();
        if (m_quiet) {
            m_quiet = false;
            m_timer.start(m_quietAfter);
            emit quietChanged(false);
        }
    }
    return QObject::eventFilter(watched, event);
}

void QuietWatch::check() {
    const std::chrono::milliseconds idle{m_sinceInput.elapsed()};
    if (idle < m_quietAfter) {
        m_timer.start(m_quietAfter - idle);
        return;
    }
    m_quiet = true;
    emit quietChanged(true);
}

} // namespace lumora
