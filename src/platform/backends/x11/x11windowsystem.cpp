#include "x11windowsystem.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace lumora {

struct X11WindowSystem::Connection {
    xcb_connection_t* conn = nullptr;
    xcb_window_t root = 0;

    xcb_atom_t atom(const char* name) {
        auto cookie = xcb_intern_atom(conn, 0, std::uint16_t(std::strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(conn, cookie, nullptr);
        if (!reply)
            return XCB_ATOM_NONE;
        const xcb_atom_t a = reply->atom;
        std::free(reply);
        return a;
    }

    // Raw property bytes (8-, 16- or 32-bit items), at most 64 KiB.
    std::string property(xcb_window_t w, xcb_atom_t prop, xcb_atom_t type) {
        auto cookie = xcb_get_property(conn, 0, w, prop, type, 0, 16384);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(conn, cookie, nullptr);
        if (!reply)
            return {};
        const int len = xcb_get_property_value_length(reply);
        std::string value(static_cast<const char*>(xcb_get_property_value(reply)),
                          std::size_t(std::max(len, 0)));
        std::free(reply);
        return value;
    }

    void sendClientMessage(xcb_window_t target, xcb_window_t about, xcb_atom_t type,
                           std::uint32_t mask, std::uint32_t d0) {
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = about;
        ev.type = type;
        ev.data.data32[0] = d0;
        ev.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(conn, 0, target, mask, reinterpret_cast<const char*>(&ev));
    }
};

X11WindowSystem::X11WindowSystem() : m_x(std::make_unique<Connection>()) {
    // Without a display every look-up finds nothing.
    if (!std::getenv("DISPLAY"))
        return;
    int screenNumber = 0;
    xcb_connection_t* conn = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(conn)) {
        xcb_disconnect(conn);
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(conn);
        return;
    }
    m_x->conn = conn;
    m_x->root = it.data->root;
}

X11WindowSystem::~X11WindowSystem() {
    if (m_x->conn)
        xcb_disconnect(m_x->conn);
}

std::vector<NativeWindow> X11WindowSystem::topLevelWindows() {
    std::vector<NativeWindow> windows;
    if (!m_x->conn)
        return windows;
    // Children of the root include unmapped windows (a copy started hidden); a reparenting
    // window manager lists its clients in _NET_CLIENT_LIST.
    auto cookie = xcb_query_tree(m_x->conn, m_x->root);
    if (xcb_query_tree_reply_t* tree = xcb_query_tree_reply(m_x->conn, cookie, nullptr)) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        windows.assign(children, children + xcb_query_tree_children_length(tree));
        std::free(tree);
    }
    const std::string list =
        m_x->property(m_x->root, m_x->atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    for (std::size_t i = 0; i + 4 <= list.size(); i += 4) {
        NativeWindow w;
        std::memcpy(&w, list.data() + i, 4);
        if (std::find(windows.begin(), windows.end(), w) == windows.end())
            windows.push_back(w);
    }
    return windows;
}

QString X11WindowSystem::windowClass(NativeWindow window) {
    // WM_CLASS holds "instance\0class\0".
    const std::string value = m_x->property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    const std::size_t nul = value.find('\0');
    if (nul == std::string::npos)
        return {};
    const std::string cls = value.substr(nul + 1, value.find('\0', nul + 1) - nul - 1);
    return QString::fromLocal8Bit(cls.data(), qsizetype(cls.size()));
}

QString X11WindowSystem::windowTitle(NativeWindow window) {
    std::string title = m_x->property(window, m_x->atom("_NET_WM_NAME"), m_x->atom("UTF8_STRING"));
    if (title.empty())
        title = m_x->property(window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY);
    return QString::fromUtf8(title.data(), qsizetype(title.size()));
}

QString X11WindowSystem::programPath(NativeWindow window) {
    const std::string pid = m_x->property(window, m_x->atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
    if (pid.size() < 4)
        return {};
    std::uint32_t value;
    std::memcpy(&value, pid.data(), 4);
    const std::string link = "/proc/" + std::to_string(value) + "/exe";
    char buf[4096];
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return QString::fromLocal8Bit(buf, qsizetype(n));
}

std::optional<NativeWindow> X11WindowSystem::findInstanceWindow(const QString& className,
                                                                const QString& ownPath) {
    const QString ownName = instanceNameFromPath(ownPath);
    std::optional<NativeWindow> found;
    for (NativeWindow w : topLevelWindows()) {
        if (cutToBuffer(windowClass(w)).compare(className, Qt::CaseInsensitive) != 0)
            continue;
        const QString path = programPath(w);
        if (instanceNameFromPath(path).compare(ownName, Qt::CaseInsensitive) != 0)
            continue;
        if (path == ownPath)
            return w;
        if (!found)
            found = w;
    }
    return found;
}

std::optional<NativeWindow> X11WindowSystem::findWindow(const QString& className,
                                                        const QString& title) {
    for (NativeWindow w : topLevelWindows()) {
        if (cutToBuffer(windowClass(w)).compare(className, Qt::CaseInsensitive) == 0 &&
            windowTitle(w) == title)
            return w;
    }
    return std::nullopt;
}

void X11WindowSystem::restoreAndActivate(NativeWindow window) {
    if (!m_x->conn)
        return;
    // Our own copies show themselves on this message; any window manager raises on the other.
    m_x->sendClientMessage(window, window, m_x->atom(kRestoreMessageAtom), 0, 0);
    m_x->sendClientMessage(
        m_x->root, window, m_x->atom("_NET_ACTIVE_WINDOW"),
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY, 2);
    xcb_flush(m_x->conn);
}

void X11WindowSystem::setWindowClass(NativeWindow window, const QString& instanceName,
                                     const QString& className) {
    if (!m_x->conn)
        return;
    QByteArray value = instanceName.toLocal8Bit();
    value.append('\0');
    value.append(className.toLocal8Bit());
    value.append('\0');
    xcb_change_property(m_x->conn, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, std::uint32_t(value.size()), value.constData());
    xcb_flush(m_x->conn);
}

} // namespace lumora
