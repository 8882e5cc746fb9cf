#include "rendering.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace lumora {

namespace {

// The renderer of the default OpenGL context, or nothing when there is none.
QString openGlRenderer() {
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface))
        return {};
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QString renderer = name ? QString::fromLatin1(name) : QString();
    context.doneCurrent();
    return renderer;
}

constexpr char kGlIntegrationVariable[] = "QT_XCB_GL_INTEGRATION";

bool userChoseRendering() {
    return qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
           qEnvironmentVariableIsSet("QSG_RHI_BACKEND");
}

// The extensions of the X server that DISPLAY names; nothing when it cannot be reached.
QStringList serverExtensions() {
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> conn(xcb_connect(nullptr, nullptr),
                                                                      &xcb_disconnect);
    if (xcb_connection_has_error(conn.get()))
        return {};
    std::unique_ptr<xcb_list_extensions_reply_t, decltype(&std::free)> reply(
        xcb_list_extensions_reply(conn.get(), xcb_list_extensions(conn.get()), nullptr),
        &std::free);
    QStringList names;
    if (!reply)
        return names;
    for (auto it = xcb_list_extensions_names_iterator(reply.get()); it.rem; xcb_str_next(&it))
        names << QString::fromLatin1(xcb_str_name(it.data), xcb_str_name_length(it.data));
    return names;
}

} // namespace

bool serverOffersDriver(const QStringList& extensions) {
    static constexpr std::array<QStringView, 3> kDriverPaths{u"DRI3", u"DRI2", u"NV-GLX"};
    for (QStringView path : kDriverPaths)
        if (extensions.contains(path))
            return true;
    return false;
}

bool leaveOutOpenGlWithoutDriver() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (userChoseRendering() || qEnvironmentVariableIsSet(kGlIntegrationVariable) ||
        !(platform.isEmpty() || platform.startsWith("xcb")) || qgetenv("DISPLAY").isEmpty())
        return false;
    const QStringList extensions = serverExtensions();
    // A server that cannot be reached is the application's to report.
    if (extensions.isEmpty() || serverOffersDriver(extensions))
        return false;
    qputenv(kGlIntegrationVariable, "none");
    return true;
}

bool isSoftwareRenderer(QStringView renderer) {
    static constexpr std::array<QStringView, 4> kRasterisers{u"llvmpipe", u"softpipe", u"swrast",
                                                             u"Software Rasterizer"};
    for (QStringView rasteriser : kRasterisers)
        if (renderer.contains(rasteriser, Qt::CaseInsensitive))
            return true;
    return false;
}

bool preferSoftwareRenderingWithoutDriver(bool openGlLeftOut) {
    if (userChoseRendering())
        return false;
    // The application has read it by now; a browser opened from a link should not inherit it.
    if (openGlLeftOut)
        qunsetenv(kGlIntegrationVariable);
    const QString renderer = openGlLeftOut ? QString() : openGlRenderer();
    // No context at all: OpenGL could not draw the web views either.
    if (!renderer.isEmpty() && !isSoftwareRenderer(renderer))
        return false;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return true;
}

} // namespace lumora
