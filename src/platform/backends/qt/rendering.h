#pragma once

#include <QStringList>
#include <QStringView>

namespace lumora {

// Whether an OpenGL renderer string names one of Mesa's processor rasterisers (llvmpipe,
// softpipe, swrast): OpenGL without a graphics driver.
bool isSoftwareRenderer(QStringView renderer);

// Whether an X server offering these extensions can hand OpenGL to a graphics driver: without
// DRI3, DRI2 or NVIDIA's own GLX, Mesa can only rasterise on the processor.
bool serverOffersDriver(const QStringList& extensions);

// Call before the application exists. On an X display that offers no driver, Qt is told to
// leave OpenGL out (QT_XCB_GL_INTEGRATION=none): its shared context would load Mesa's
// rasteriser and LLVM, some 30 MB, for nothing that draws. A choice the user made of OpenGL
// integration or back-end stays. Returns whether OpenGL was left out, for
// preferSoftwareRenderingWithoutDriver.
bool leaveOutOpenGlWithoutDriver();

// Without a graphics driver, the web views drawn through OpenGL make every movie frame
// composite the whole window again on the processor; on a single core that starves the page
// that plays the movie. Qt Quick's software renderer then draws only what changed, and the
// web engine renders without OpenGL too. Call after the application exists and before the
// first web view. A back-end that the user chose (QT_QUICK_BACKEND, QSG_RHI_BACKEND) stays.
// With OpenGL left out there is nothing to ask, and the programs the client starts later get
// their OpenGL back. Returns whether software rendering was chosen.
bool preferSoftwareRenderingWithoutDriver(bool openGlLeftOut = false);

} // namespace lumora
