#include "chromescroll.h"

#include "rounding.h"

#include <algorithm>
#include <cstdint>

namespace lumora {

namespace {

ThumbPlacement fromUpperCap(int upperCapTop, int upperCapHeight, int bodyHeight) {
    const int bodyTop = upperCapTop + upperCapHeight;
    return {upperCapTop, bodyTop, bodyTop + bodyHeight};
}

ThumbPlacement atBottom(int barHeight, int upperCapHeight, int lowerCapHeight, int bodyHeight) {
    const int lowerCapTop = barHeight - kThumbEndGap - lowerCapHeight;
    const int bodyTop = lowerCapTop - bodyHeight;
    return {bodyTop - upperCapHeight, bodyTop, lowerCapTop};
}

} // namespace

TreeScrollLayout treeScrollLayout(const TreeScrollInput& in) {
    TreeScrollLayout out;
    if (in.rows <= 0)
        return out;
    out.tag = in.rows == kSkinExemptTag ? kSkinExemptTag + 1 : in.rows;

    const double rowsPixels = static_cast<double>(in.rows) * kScrollRowPixels;
    if (rowsPixels < in.treeHeight)
        return out;

    const double share = static_cast<double>(in.trackHeight - 4) * in.treeHeight / rowsPixels;
    out.bodyHeight = std::max(roundHalfEven(share).value_or(0) - 40, kMinThumbBodyHeight);
    out.visible = true;
    out.step = static_cast<double>(in.trackHeight - 4 - out.bodyHeight) / in.rows;

    if (in.above == 0) {
        out.thumb = fromUpperCap(kThumbEndGap, in.upperCapHeight, out.bodyHeight);
    } else if (in.rows - in.above < in.treeHeight / static_cast<double>(kScrollRowPixels)) {
        out.thumb = atBottom(in.barHeight, in.upperCapHeight, in.lowerCapHeight, out.bodyHeight);
    } else {
        const int offset = roundHalfEven(in.above * out.step).value_or(0);
        out.thumb = fromUpperCap(offset + kThumbEndGap, in.upperCapHeight, out.bodyHeight);
    }
    return out;
}

ThumbDragResult dragThumb(const ThumbDragInput& in) {
    ThumbDragResult out;
    // 64 bits: a pointer far outside the window must not overflow the sum.
    const std::int64_t newTop =
        static_cast<std::int64_t>(in.bodyTop) + in.mouseY - static_cast<std::int64_t>(in.grabY);
    const std::int64_t lowest =
        static_cast<std::int64_t>(in.barHeight) - kThumbEndGap - in.lowerCapHeight - in.bodyHeight;
    if (newTop < in.upperCapHeight + kThumbEndGap) {
        out.thumb = fromUpperCap(kThumbEndGap, in.upperCapHeight, in.bodyHeight);
    } else if (newTop > lowest) {
        out.thumb = atBottom(in.barHeight, in.upperCapHeight, in.lowerCapHeight, in.bodyHeight);
    } else {
        const int bodyTop = static_cast<int>(newTop);
        out.thumb = {bodyTop - in.upperCapHeight, bodyTop, bodyTop + in.bodyHeight};
    }

    if (in.tag == 0)
        return out;
    const double step = static_cast<double>(in.trackHeight - 4 - in.bodyHeight) / in.tag;
    if (step <= 0.0) // a thumb as long as the track stands for the first row only
        return out.thumb.upperCapTop <= kThumbEndGap ? ThumbDragResult{out.thumb, 0} : out;
    out.row = roundHalfEven((out.thumb.upperCapTop - kThumbEndGap) / step);
    return out;
}

} // namespace lumora
