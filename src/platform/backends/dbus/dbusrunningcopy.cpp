#include "dbusrunningcopy.h"

#include <QDBusMessage>

namespace lumora {

bool DBusRunningCopyLink::askToShow(const QString& mutexName) {
    if (!m_bus.isConnected())
        return false;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        editionBusName(mutexName), QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Raise"));
    // The second copy has no window yet and ends right after: waiting here blocks nobody.
    constexpr int kTimeoutMs = 3000;
    return m_bus.call(call, QDBus::Block, kTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

} // namespace lumora
