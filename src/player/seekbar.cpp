#include "seekbar.h"

#include "rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumora {

namespace {

constexpr int kUnknownPercent = -1;
constexpr int kFullPercent = 100;
constexpr int kFullBarInset = 2;
constexpr int kNoPosition = -1;

// Products of two ints are exact in a double, so multiplying before dividing keeps the
// quotient correctly rounded: floors and halves come out as in exact arithmetic.
double ratio(double numerator, double factor, double denominator) {
    return numerator * factor / denominator;
}

bool fitsInt(double value) {
    return std::isfinite(value) && value >= std::numeric_limits<int>::min() &&
           value <= std::numeric_limits<int>::max();
}

} // namespace

void placeKnob(int position, int total, Span& knob, const Span& bar) {
    if (total <= 0)
        return;
    const double left =
        double(bar.left) + std::floor(ratio(double(bar.width) - knob.width, position, total));
    if (fitsInt(left))
        knob.left = static_cast<int>(left);
}

int knobToPosition(int total, const Span& knob, const Span& bar) {
    if (total <= 0)
        return kNoPosition;
    const double room = double(bar.width) - knob.width;
    if (room <= 0)
        return kNoPosition;
    return roundHalfEven(ratio(double(knob.left) - bar.left, total, room)).value_or(kNoPosition);
}

int draggedKnobLeft(const Span& knob, int dx, const Span& bar, int loadedWidth) {
    const int left = knob.left + dx;
    if (left < bar.left)
        return bar.left;
    if (left > bar.left + loadedWidth)
        return bar.left + loadedWidth - knob.width;
    return left;
}

int knobLeftCentredAt(int x, const Span& knob, const Span& bar) {
    return x + bar.left - roundHalfEven(knob.width / 2.0).value_or(0);
}

void setLoadBar(int percent, Span& load, const Span& bar) {
    if (percent == kUnknownPercent)
        return;
    const int width = roundHalfEven(ratio(percent, bar.width, 100.0)).value_or(0);
    const int inset = percent == kFullPercent ? kFullBarInset : 0;
    load.width = std::max(0, width - inset);
}

} // namespace lumora
