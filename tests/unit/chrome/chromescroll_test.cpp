#include "chromescroll.h"
#include "chromewindow.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumora {
namespace {

// A bar of 400 px: track 382 (400 - 9 - 9), tree 403 px high (the bar is 3 px shorter).
TreeScrollInput bar(int rows, int above) {
    return {rows, above, 403, 382, 400};
}

TEST(TreeScrollLayout, NoRowsHidesAndLeavesTheTag) {
    const TreeScrollLayout layout = treeScrollLayout(bar(0, 0));
    EXPECT_FALSE(layout.visible);
    EXPECT_FALSE(layout.tag.has_value());
}

TEST(TreeScrollLayout, ReckonsTwentyEightPixelsPerRow) {
    // 14 rows take 336 px at 24 and 392 px at 28 in a 393 px tree: no bar.
    TreeScrollInput in = bar(14, 0);
    in.treeHeight = 393;
    EXPECT_FALSE(treeScrollLayout(in).visible);
    EXPECT_EQ(treeScrollLayout(in).tag, 14);
    // A 340 px tree: 14 rows at 24 (336) fit, yet 392 >= 340 shows the bar.
    in.treeHeight = 340;
    EXPECT_TRUE(treeScrollLayout(in).visible);
    // 392 px exactly: not below the height, so the bar shows.
    in.treeHeight = 392;
    EXPECT_TRUE(treeScrollLayout(in).visible);
}

TEST(TreeScrollLayout, NinetyNineRowsAreStoredAsHundred) {
    EXPECT_EQ(treeScrollLayout(bar(99, 0)).tag, 100);
    EXPECT_EQ(treeScrollLayout(bar(98, 0)).tag, 98);
    EXPECT_EQ(treeScrollLayout(bar(100, 0)).tag, 100);
}

struct PlacementCase {
    const char* name;
    int rows;
    int above;
    int bodyHeight;
    ThumbPlacement thumb;
};

class TreeScrollPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(TreeScrollPlacement, PlacesThumb) {
    const PlacementCase& c = GetParam();
    const TreeScrollLayout layout = treeScrollLayout(bar(c.rows, c.above));
    ASSERT_TRUE(layout.visible);
    EXPECT_EQ(layout.bodyHeight, c.bodyHeight);
    EXPECT_EQ(layout.thumb, c.thumb);
    EXPECT_DOUBLE_EQ(layout.step, (382.0 - 4 - c.bodyHeight) / c.rows);
}

// 20 rows: 378 * 403 / 560 = 272.025 -> 272 - 40 = 232; step = 146 / 20 = 7.3.
// 40 rows: 378 * 403 / 1120 = 136.0125 -> 136 - 40 = 96; step = 282 / 40 = 7.05.
INSTANTIATE_TEST_SUITE_P(
    Cases, TreeScrollPlacement,
    ::testing::Values(PlacementCase{"top", 20, 0, 232, {8, 11, 243}},
                      // 40 - 30 = 10 rows remain < 403 / 28 = 14.39: pinned to the bar's end
                      PlacementCase{"endOfList", 40, 30, 96, {290, 293, 389}},
                      // 7 * 7.05 = 49.35 -> 49, + 8
                      PlacementCase{"middle", 40, 7, 96, {57, 60, 156}},
                      // 2 * 7.3 = 14.6 -> 15; 18 rows remain >= 14.39
                      PlacementCase{"nearTop", 20, 2, 232, {23, 26, 258}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TreeScrollLayout, RoundsHalvesToEven) {
    // Body: 70 * 21 / 28 = 52.5 -> 52; 74 * 21 / 28 = 55.5 -> 56 (then minus 40).
    EXPECT_EQ(treeScrollLayout({1, 0, 21, 74, 200}).bodyHeight, 12);
    EXPECT_EQ(treeScrollLayout({1, 0, 21, 78, 200}).bodyHeight, 16);
    // Offset: step 7.5 -> 8 and step 8.5 -> 8 for the row above the top.
    const TreeScrollLayout up = treeScrollLayout({10, 1, 200, 125, 200});
    ASSERT_DOUBLE_EQ(up.step, 7.5);
    EXPECT_EQ(up.thumb.upperCapTop, 16);
    const TreeScrollLayout down = treeScrollLayout({10, 1, 200, 160, 200});
    ASSERT_DOUBLE_EQ(down.step, 8.5);
    EXPECT_EQ(down.thumb.upperCapTop, 16);
}

TEST(TreeScrollLayout, VeryLongTreeKeepsAGrabbableThumb) {
    const TreeScrollLayout layout = treeScrollLayout(bar(100000, 50000));
    ASSERT_TRUE(layout.visible);
    EXPECT_EQ(layout.bodyHeight, kMinThumbBodyHeight);
    EXPECT_GT(layout.step, 0.0);
    EXPECT_GE(layout.thumb.upperCapTop, kThumbEndGap);
    EXPECT_LE(layout.thumb.lowerCapTop + kThumbCapHeight, 400 - kThumbEndGap);
}

ThumbDragInput dragInput(int bodyTop, int mouseY, int grabY, int tag, int bodyHeight = 96) {
    return {bodyTop, mouseY, grabY, 400, 3, 3, bodyHeight, tag, 382};
}

ThumbDragResult drag(int bodyTop, int mouseY, int grabY, int tag) {
    return dragThumb(dragInput(bodyTop, mouseY, grabY, tag));
}

TEST(ThumbDrag, PastTheTopStaysEightPixelsFromTheEndAndShowsRowZero) {
    const ThumbDragResult r = drag(60, 0, 50, 40);
    EXPECT_EQ(r.thumb, (ThumbPlacement{8, 11, 107}));
    EXPECT_EQ(r.row, 0);
}

TEST(ThumbDrag, PastTheBottomStaysEightPixelsFromTheEnd) {
    const ThumbDragResult r = drag(200, 500, 10, 40);
    EXPECT_EQ(r.thumb, (ThumbPlacement{290, 293, 389}));
    EXPECT_EQ(r.thumb.lowerCapTop + 3, 400 - kThumbEndGap);
    // (290 - 8) / 7.05 = 40
    EXPECT_EQ(r.row, 40);
}

TEST(ThumbDrag, MiddleFollowsTheMouse) {
    const ThumbDragResult r = drag(60, 30, 10, 40); // new top 80
    EXPECT_EQ(r.thumb, (ThumbPlacement{77, 80, 176}));
    // (77 - 8) / 7.05 = 9.79 -> 10
    EXPECT_EQ(r.row, 10);
}

TEST(ThumbDrag, TagZeroDoesNotScroll) {
    const ThumbDragResult r = drag(60, 30, 10, 0);
    EXPECT_EQ(r.thumb.bodyTop, 80);
    EXPECT_FALSE(r.row.has_value());
}

TEST(ThumbDrag, HundredRowsFromNinetyNine) {
    // body 96, tag 100: step 2.82; upper cap 77 -> 69 / 2.82 = 24.47 -> 24
    EXPECT_EQ(drag(60, 30, 10, 100).row, 24);
}

TEST(ThumbDrag, HugeTreeAndWildPointerStayDefined) {
    const TreeScrollLayout layout = treeScrollLayout(bar(100000, 0));
    ThumbDragInput in = dragInput(layout.thumb.bodyTop, std::numeric_limits<int>::max(),
                                  std::numeric_limits<int>::min(), 100000, layout.bodyHeight);
    const ThumbDragResult bottom = dragThumb(in);
    ASSERT_TRUE(bottom.row.has_value());
    EXPECT_NEAR(*bottom.row, 100000, 1);
    in.mouseY = std::numeric_limits<int>::min();
    in.grabY = std::numeric_limits<int>::max();
    EXPECT_EQ(dragThumb(in).row, 0);
}

TEST(ThumbDrag, ThumbAsLongAsTheTrackOnlyShowsTheFirstRow) {
    const ThumbDragInput in = dragInput(11, 0, 0, 5, 378); // step 0
    EXPECT_EQ(dragThumb(in).row, 0);
}

TEST(ChromeWindow, MaximisedIsScreenWidthByWorkAreaHeight) {
    EXPECT_EQ(maximisedSize({0, 0, 1920, 1080}, {0, 0, 1920, 1040}), QSize(1920, 1040));
    // A panel on the left narrows the work area but not the maximised width.
    EXPECT_EQ(maximisedSize({0, 0, 1280, 1024}, {64, 0, 1216, 1024}), QSize(1280, 1024));
}

TEST(ChromeWindow, ResizeLayout) {
    EXPECT_EQ(pageAreaGeometry({1000, 700}, 20, 27), QRect(-5, -5, 1010, 663));
    EXPECT_EQ(scrollPanelGeometry({211, 400}, 13), QRect(198, 1, 13, 397));
}

} // namespace
} // namespace lumora
