#include "privatebus.h"

namespace lumora::test {

PrivateBus::PrivateBus() {
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
    if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus() {
    for (const QString& name : m_names)
        QDBusConnection::disconnectFromBus(name);
    m_daemon.kill();
    m_daemon.waitForFinished(5000);
}

QDBusConnection PrivateBus::connect(const QString& name) {
    m_names << name;
    return QDBusConnection::connectToBus(m_address, name);
}

} // namespace lumora::test
