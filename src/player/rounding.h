#pragma once

#include <cmath>
#include <limits>
#include <optional>

namespace lumora {

// Nearest integer, halves to the even neighbour; nothing when the value is not finite or does
// not fit an int, so callers never convert out of range.
inline std::optional<int> roundHalfEven(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    double rounded = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        rounded = 2.0 * std::round(value / 2.0);
    if (rounded < static_cast<double>(std::numeric_limits<int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace lumora
