#include "rendering.h"

#include <QQuickWindow>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(SoftwareRenderer, MesaProcessorRasterisersAreSoftwareDriversAreNot) {
    const struct {
        const char* renderer;
        bool software;
    } cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"softpipe", true},
        {"Software Rasterizer", true},
        {"Mesa DRI swrast", true},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"AMD Radeon RX 580 Series (radeonsi, polaris10, LLVM 15.0.6)", false},
        {"NVIDIA GeForce GTX 1050/PCIe/SSE2", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.renderer);
        EXPECT_EQ(isSoftwareRenderer(QString::fromLatin1(c.renderer)), c.software);
    }
}

TEST(SoftwareRenderer, OnlyAServerWithADirectRenderingPathOffersADriver) {
    const struct {
        QStringList extensions;
        bool driver;
    } cases[] = {
        // Xvfb and Xvnc: GLX, but nothing that reaches a driver.
        {{"BIG-REQUESTS", "GLX", "MIT-SHM", "RANDR", "XFIXES"}, false},
        {{"GLX", "DRI3", "Present"}, true},
        {{"GLX", "DRI2"}, true},
        {{"NV-GLX", "NV-CONTROL"}, true},
        {{"DRI3-extra", "XDRI3"}, false},
        {{}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extensions.join(u' ').toStdString());
        EXPECT_EQ(serverOffersDriver(c.extensions), c.driver);
    }
}

TEST(SoftwareRenderer, WithOpenGlLeftOutTheProgramsStartedLaterGetItBack) {
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    EXPECT_TRUE(preferSoftwareRenderingWithoutDriver(true));
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"));
    EXPECT_EQ(QQuickWindow::sceneGraphBackend(), QStringLiteral("software"));
}

} // namespace
} // namespace lumora
