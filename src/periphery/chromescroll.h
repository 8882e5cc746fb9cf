#pragma once

#include <optional>

namespace lumora {

// The picture-made scroll bar of the catalogue tree: where its thumb sits for the tree's rows
// and which row a dragged thumb stands for.
inline constexpr int kScrollRowPixels = 28; // the bar's own reckoning, not the tree's row height
inline constexpr int kThumbEndGap = 8;      // the thumb keeps this far from either end of the bar
inline constexpr int kThumbCapHeight = 3;
// Below this the thumb body could not be grabbed on a very long tree.
inline constexpr int kMinThumbBodyHeight = 8;
// Controls with this tag are left alone by the skin, so the tree's tag never holds it.
inline constexpr int kSkinExemptTag = 99;

struct ThumbPlacement {
    int upperCapTop = 0;
    int bodyTop = 0;
    int lowerCapTop = 0;
    bool operator==(const ThumbPlacement&) const = default;
};

struct TreeScrollInput {
    int rows = 0;  // nodes not hidden under a collapsed parent
    int above = 0; // of those, how many lie before the top row
    int treeHeight = 0;
    int trackHeight = 0; // height of imgScrollMiddle
    int barHeight = 0;   // height of pnlScroll
    int upperCapHeight = kThumbCapHeight;
    int lowerCapHeight = kThumbCapHeight;
};

struct TreeScrollLayout {
    bool visible = false;
    // The value for the tree's tag; empty when the tree has no rows and the tag stays as it is.
    std::optional<int> tag;
    int bodyHeight = 0;
    ThumbPlacement thumb;
    double step = 0.0;
};

// The arithmetic of updateTreeScrollBar.
TreeScrollLayout treeScrollLayout(const TreeScrollInput& input);

struct ThumbDragInput {
    int bodyTop = 0;
    int mouseY = 0; // in the thumb body, as the mouse-move event gives it
    int grabY = 0;  // thumbGrabY
    int barHeight = 0;
    int upperCapHeight = kThumbCapHeight;
    int lowerCapHeight = kThumbCapHeight;
    int bodyHeight = 0;
    int tag = 0; // rows counted by the last updateTreeScrollBar
    int trackHeight = 0;
};

struct ThumbDragResult {
    ThumbPlacement thumb;
    // The shown row (counted from 0 over the nodes not hidden) to make the tree's top row;
    // empty when nothing scrolls.
    std::optional<int> row;
};

// One mouse move of the thumb drag.
ThumbDragResult dragThumb(const ThumbDragInput& input);

} // namespace lumora
