#include "seekbar.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumora {
namespace {

struct KnobCase {
    int position;
    int total;
    Span knob;
    Span bar;
    int expectedLeft;
};

class PlaceKnob : public ::testing::TestWithParam<KnobCase> {};

TEST_P(PlaceKnob, FloorsTheShare) {
    const KnobCase& c = GetParam();
    Span knob = c.knob;
    placeKnob(c.position, c.total, knob, c.bar);
    EXPECT_EQ(knob.left, c.expectedLeft);
    EXPECT_EQ(knob.width, c.knob.width);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceKnob,
    ::testing::Values(KnobCase{0, 100, {50, 10}, {20, 210}, 20},   // start
                      KnobCase{50, 100, {50, 10}, {20, 210}, 120}, // middle
                      KnobCase{1, 3, {0, 10}, {0, 110}, 33},       // 33.3 floors
                      KnobCase{2, 3, {0, 10}, {0, 110}, 66},       // 66.7 floors
                      KnobCase{-1, 3, {0, 10}, {0, 110}, -34},     // floor goes down
                      KnobCase{49, 49, {0, 10}, {5, 11}, 6},       // 1/49*49 would lose it
                      KnobCase{0, 0, {77, 10}, {0, 110}, 77},      // no total: stays
                      KnobCase{5, -3, {77, 10}, {0, 110}, 77}));

TEST(PlaceKnob, PositionAtTotalPutsRightEdgesTogether) {
    for (int total : {1, 3, 7, 49, 98, 3599, 86399}) {
        for (int barWidth : {11, 101, 333, 1000}) {
            const Span bar{17, barWidth};
            Span knob{0, 9};
            placeKnob(total, total, knob, bar);
            EXPECT_EQ(knob.left + knob.width, bar.left + bar.width)
                << "total " << total << " bar " << barWidth;
        }
    }
}

struct PositionCase {
    int total;
    Span knob;
    Span bar;
    int expected;
};

class KnobToPosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(KnobToPosition, RoundsHalvesToEven) {
    const PositionCase& c = GetParam();
    EXPECT_EQ(knobToPosition(c.total, c.knob, c.bar), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, KnobToPosition,
                         ::testing::Values(PositionCase{100, {120, 10}, {20, 210}, 50},
                                           PositionCase{1, {1, 10}, {0, 12}, 0},  // 0.5
                                           PositionCase{3, {1, 10}, {0, 12}, 2},  // 1.5
                                           PositionCase{5, {1, 10}, {0, 12}, 2},  // 2.5
                                           PositionCase{7, {1, 10}, {0, 12}, 4},  // 3.5
                                           PositionCase{3, {1, 10}, {0, 13}, 1},  // 1.0
                                           PositionCase{10, {1, 10}, {0, 13}, 3}, // 3.33
                                           PositionCase{100, {20, 10}, {20, 210}, 0},
                                           PositionCase{100, {220, 10}, {20, 210}, 100},
                                           PositionCase{0, {120, 10}, {20, 210}, -1}, // no total
                                           PositionCase{-5, {120, 10}, {20, 210}, -1},
                                           PositionCase{
                                               100, {20, 10}, {20, 10}, -1})); // no room to move

TEST(KnobToPosition, ReadsBackWhatPlaceKnobPlaced) {
    const Span bar{30, 400};
    for (int total : {1, 60, 390, 3725}) {
        for (int position = 0; position <= total; position += std::max(1, total / 37)) {
            Span knob{0, 12};
            placeKnob(position, total, knob, bar);
            const int back = knobToPosition(total, knob, bar);
            // The floor costs at most one pixel's worth of position.
            EXPECT_LE(back, position);
            EXPECT_GE(back, position - (total + 387) / 388);
        }
    }
}

struct DragCase {
    Span knob;
    int dx;
    int loadedWidth;
    int expectedLeft;
};

class DraggedKnobLeft : public ::testing::TestWithParam<DragCase> {};

TEST_P(DraggedKnobLeft, StaysBetweenTheStartAndWhatHasLoaded) {
    const DragCase& c = GetParam();
    EXPECT_EQ(draggedKnobLeft(c.knob, c.dx, Span{12, 575}, c.loadedWidth), c.expectedLeft);
}

INSTANTIATE_TEST_SUITE_P(Cases, DraggedKnobLeft,
                         ::testing::Values(DragCase{{12, 6}, 50, 100, 62},
                                           DragCase{{62, 6}, -51, 100, 12},   // before the start
                                           DragCase{{62, 6}, 50, 100, 112},   // at the loaded end
                                           DragCase{{62, 6}, 51, 100, 106})); // past it: inside

TEST(KnobLeftCentredAt, PutsTheKnobsMiddleOnThePoint) {
    EXPECT_EQ(knobLeftCentredAt(100, Span{0, 6}, Span{12, 575}), 109);
    EXPECT_EQ(knobLeftCentredAt(100, Span{0, 5}, Span{12, 575}), 110); // 2.5 goes to 2
}

struct LoadCase {
    int percent;
    int barWidth;
    int expectedWidth;
};

class SetLoadBar : public ::testing::TestWithParam<LoadCase> {};

TEST_P(SetLoadBar, TakesThePercentOfTheBar) {
    const LoadCase& c = GetParam();
    Span load{5, 42};
    setLoadBar(c.percent, load, Span{5, c.barWidth});
    EXPECT_EQ(load.width, c.expectedWidth);
    EXPECT_EQ(load.left, 5);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetLoadBar,
                         ::testing::Values(LoadCase{100, 300, 298}, LoadCase{0, 300, 0},
                                           LoadCase{50, 300, 150}, LoadCase{50, 5, 2}, // 2.5
                                           LoadCase{30, 5, 2},                         // 1.5
                                           LoadCase{10, 25, 2},                        // 2.5
                                           LoadCase{70, 5, 4},                         // 3.5
                                           LoadCase{33, 10, 3},                        // 3.3
                                           LoadCase{99, 300, 297},
                                           LoadCase{-1, 300, 42}, // unknown: unchanged
                                           LoadCase{100, 1, 0},   // never negative
                                           LoadCase{-5, 300, 0}));

} // namespace
} // namespace lumora
