#include "rendering.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <array>

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

} // namespace

bool isSoftwareRenderer(QStringView renderer) {
    static constexpr std::array<QStringView, 4> kRasterisers{u"llvmpipe", u"softpipe", u"swrast",
                                                             u"Software Rasterizer"};
    for (QStringView rasteriser : kRasterisers)
        if (renderer.contains(rasteriser, Qt::CaseInsensitive))
            return true;
    return false;
}

bool preferSoftwareRenderingWithoutDriver() {
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
        qEnvironmentVariableIsSet("QSG_RHI_BACKEND"))
        return false;
    const QString renderer = openGlRenderer();
    // No context at all: OpenGL could not draw the web views either.
    if (!renderer.isEmpty() && !isSoftwareRenderer(renderer))
        return false;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return true;
}

} // namespace lumora
