#include "dbusscreensaver.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace lumora {
namespace {

const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kPortalInhibit = QStringLiteral("org.freedesktop.portal.Inhibit");
const QString kPortalRequest = QStringLiteral("org.freedesktop.portal.Request");
constexpr uint kPortalInhibitIdle = 8;

} // namespace

DBusScreenSaverInhibitor::DBusScreenSaverInhibitor(QDBusConnection bus, QString appName)
    : m_bus(std::move(bus)), m_appName(std::move(appName)) {}

DBusScreenSaverInhibitor::~DBusScreenSaverInhibitor() {
    m_wanted = false;
    giveBack();
}

void DBusScreenSaverInhibitor::inhibit(const QString& reason) {
    m_wanted = true;
    if (m_heldVia || m_pending || !m_bus.isConnected())
        return;
    request(Via::ScreenSaver, reason);
}

void DBusScreenSaverInhibitor::release() {
    m_wanted = false;
    if (!m_pending)
        giveBack();
}

void DBusScreenSaverInhibitor::request(Via via, const QString& reason) {
    QDBusMessage call;
    if (via == Via::ScreenSaver) {
        call = QDBusMessage::createMethodCall(kScreenSaverService, kScreenSaverPath,
                                              kScreenSaverService, QStringLiteral("Inhibit"));
        call << m_appName << reason;
    } else {
        call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kPortalInhibit,
                                              QStringLiteral("Inhibit"));
        call << QString() << kPortalInhibitIdle << QVariantMap{{QStringLiteral("reason"), reason}};
    }
    m_pending = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, via, reason](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusMessage reply = w->reply();
                const bool ok =
                    reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
                answered(via, ok ? reply.arguments().first() : QVariant(), reason, ok);
            });
}

void DBusScreenSaverInhibitor::answered(Via via, const QVariant& handle, const QString& reason,
                                        bool ok) {
    m_pending = false;
    if (!ok) {
        // No screen-saver service: the portal is the other way to ask.
        if (via == Via::ScreenSaver && m_wanted)
            request(Via::Portal, reason);
        return;
    }
    m_heldVia = via;
    m_handle = handle;
    if (!m_wanted)
        giveBack();
}

void DBusScreenSaverInhibitor::giveBack() {
    if (!m_heldVia)
        return;
    QDBusMessage call;
    if (*m_heldVia == Via::ScreenSaver) {
        call = QDBusMessage::createMethodCall(kScreenSaverService, kScreenSaverPath,
                                              kScreenSaverService, QStringLiteral("UnInhibit"));
        call << m_handle.toUInt();
    } else {
        call =
            QDBusMessage::createMethodCall(kPortalService, m_handle.value<QDBusObjectPath>().path(),
                                           kPortalRequest, QStringLiteral("Close"));
    }
    m_bus.send(call);
    m_heldVia.reset();
    m_handle = {};
}

} // namespace lumora
