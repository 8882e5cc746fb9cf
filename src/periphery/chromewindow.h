#pragma once

#include <QRect>
#include <QSize>

namespace lumora {

// Geometry rules of the frameless main window.

// Maximised, the window takes the full screen width and the work area's height.
inline QSize maximisedSize(const QRect& screen, const QRect& workArea) {
    return {screen.width(), workArea.height()};
}

// The page control's place when not in full screen: its frame lies outside the visible area,
// its lower edge under the status bar.
inline QRect pageAreaGeometry(const QSize& window, int captionHeight, int bottomHeight) {
    return {-5, -5, window.width() + 10, window.height() - captionHeight - bottomHeight + 10};
}

// pnlScroll over the right edge of the tree's panel.
inline QRect scrollPanelGeometry(const QSize& funcTree, int scrollWidth) {
    return {funcTree.width() - scrollWidth, 1, scrollWidth, funcTree.height() - 3};
}

// The window's region: a rounded rectangle one pixel wider and taller than the outline drawn.
inline constexpr int kRegionCornerSize = 10;
inline QRect windowRegionRect(const QSize& window) {
    return {0, 0, window.width() + 2, window.height() + 1};
}
inline constexpr int kOutlineCornerSize = 21;
inline constexpr int kOutlineGrey = 128;

} // namespace lumora
