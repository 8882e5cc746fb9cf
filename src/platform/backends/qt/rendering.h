#pragma once

#include <QStringView>

namespace lumora {

// Whether an OpenGL renderer string names one of Mesa's processor rasterisers (llvmpipe,
// softpipe, swrast): OpenGL without a graphics driver.
bool isSoftwareRenderer(QStringView renderer);

// Without a graphics driver, the web views drawn through OpenGL make every movie frame
// composite the whole window again on the processor; on a single core that starves the page
// that plays the movie. Qt Quick's software renderer then draws only what changed, and the
// web engine renders without OpenGL too. Call after the application exists and before the
// first web view. A back-end that the user chose (QT_QUICK_BACKEND, QSG_RHI_BACKEND) stays.
// Returns whether software rendering was chosen.
bool preferSoftwareRenderingWithoutDriver();

} // namespace lumora
