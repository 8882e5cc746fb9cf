#include "eventwait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace lumora::test {

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

void settle(int ms) {
    waitUntil([] { return false; }, ms);
}

} // namespace lumora::test
