#pragma once

#include "screensaver.h"

#include <QDBusConnection>
#include <QObject>

#include <optional>

namespace lumora {

// org.freedesktop.ScreenSaver on the session bus, else the desktop portal's Inhibit.
// Calls never block: a release that comes before the answer takes effect when it arrives.
class DBusScreenSaverInhibitor : public QObject, public ScreenSaverInhibitor {
    Q_OBJECT
public:
    DBusScreenSaverInhibitor(QDBusConnection bus, QString appName);
    ~DBusScreenSaverInhibitor() override;
    void inhibit(const QString& reason) override;
    void release() override;

private:
    enum class Via { ScreenSaver, Portal };
    void request(Via via, const QString& reason);
    void answered(Via via, const QVariant& handle, const QString& reason, bool ok);
    void giveBack();

    QDBusConnection m_bus;
    QString m_appName;
    bool m_wanted = false;
    bool m_pending = false;
    std::optional<Via> m_heldVia;
    QVariant m_handle; // cookie (uint) or request object path
};

} // namespace lumora
