#include "application.h"

#include "failurereport.h"
#include "x11windowsystem.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <exception>

namespace lumora {

LumoraApplication::LumoraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool LumoraApplication::notify(QObject* receiver, QEvent* event) {
    // Failures the user can cause come back to their handlers as values; what arrives here is
    // a programming error.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportEscapedException(m_dialogs, e.what());
    } catch (...) {
        reportEscapedException(m_dialogs, "unknown error");
    }
    return true;
}

RestoreRequestFilter::RestoreRequestFilter(std::function<void()> onRestore)
    : m_onRestore(std::move(onRestore)) {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return;
    xcb_connection_t* conn = x11->connection();
    auto cookie = xcb_intern_atom(conn, 0, std::uint16_t(std::strlen(kRestoreMessageAtom)),
                                  kRestoreMessageAtom);
    if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(conn, cookie, nullptr)) {
        m_atom = reply->atom;
        std::free(reply);
    }
}

bool RestoreRequestFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (m_atom == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->type != m_atom)
        return false;
    m_onRestore();
    return true;
}

} // namespace lumora
