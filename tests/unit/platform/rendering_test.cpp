#include "rendering.h"

#include <QString>

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

} // namespace
} // namespace lumora
