#include "contrast.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>

namespace lumora::test {
namespace {

double channel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour) {
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}

// The pixel of the area whose ratio against colour beats every other's; colour itself when the
// area is empty.
template <typename Beats>
QColor mostAgainst(const QImage& image, const QRect& area, const QColor& colour, Beats beats) {
    QColor found = colour;
    std::optional<double> best;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = QColor::fromRgb(image.pixel(x, y) | 0xFF000000u);
            const double ratio = contrastRatio(pixel, colour);
            if (!best || beats(ratio, *best)) {
                best = ratio;
                found = pixel;
            }
        }
    return found;
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor dominantColour(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    return QColor::fromRgb(best);
}

QColor weakestAgainst(const QImage& image, const QRect& area, const QColor& foreground) {
    return mostAgainst(image, area, foreground, [](double r, double best) { return r < best; });
}

QColor strongestAgainst(const QImage& image, const QRect& area, const QColor& background) {
    return mostAgainst(image, area, background, [](double r, double best) { return r > best; });
}

} // namespace lumora::test
