#pragma once

namespace lumora {

// The horizontal extent of a control of the seek bar, in pixels.
struct Span {
    int left = 0;
    int width = 0;
};

// Moves the knob to stand for position out of total; nothing when total is not above 0.
// The knob reaches the bar's right end exactly when position equals total.
void placeKnob(int position, int total, Span& knob, const Span& bar);

// The position out of total that the knob stands for, nearest integer (halves to even);
// -1 when total is not above 0 or the bar leaves the knob no room to move.
int knobToPosition(int total, const Span& knob, const Span& bar);

// Where a knob dragged by dx comes to rest: never before the bar's start, and dragged past what
// has loaded (loadedWidth pixels from the bar's start) it ends just inside that.
int draggedKnobLeft(const Span& knob, int dx, const Span& bar, int loadedWidth);

// The knob's left edge that puts its middle (half its width, halves to even) on x, counted from
// the bar's start.
int knobLeftCentredAt(int x, const Span& knob, const Span& bar);

// Sets the load panel to percent of the bar (nearest integer, halves to even), 2 pixels short
// at 100 so the bar's frame stays visible; -1 leaves it as it is. Never narrower than 0.
void setLoadBar(int percent, Span& load, const Span& bar);

} // namespace lumora
