#pragma once

#include "runningcopy.h"

#include <QDBusConnection>

namespace lumora {

// Calls Raise of the media-player interface the running copy exports under its edition's name.
class DBusRunningCopyLink : public RunningCopyLink {
public:
    explicit DBusRunningCopyLink(QDBusConnection bus) : m_bus(std::move(bus)) {}
    bool askToShow(const QString& mutexName) override;

private:
    QDBusConnection m_bus;
};

} // namespace lumora
