#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace lumora::test {

// WCAG 2 contrast ratio of two opaque colours, 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);

// The colour most pixels of the area have: the background behind a text.
QColor dominantColour(const QImage& image, const QRect& area);

// The pixel of the area that stands out least against foreground: drawn without its text, the
// worst background the text has.
QColor weakestAgainst(const QImage& image, const QRect& area, const QColor& foreground);

// The pixel of the area that stands out most against background: the core of a text's strokes.
QColor strongestAgainst(const QImage& image, const QRect& area, const QColor& background);

} // namespace lumora::test
