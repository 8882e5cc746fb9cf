#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>

namespace lumora::test {

// A session bus of the test's own (dbus-daemon), gone with the object.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    bool started() const { return !m_address.isEmpty(); }
    // A new connection to the bus under a name of the test's choice.
    QDBusConnection connect(const QString& name);

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_names;
};

} // namespace lumora::test
