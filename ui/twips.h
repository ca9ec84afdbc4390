#pragma once
// Design measures in twips (1440 to the inch) on the screen.

#include "goods/window_place.h"

#include <QRect>

namespace tarvel {

// A rectangle of twips in device-independent pixels at the given logical DPI (96 DPI: 15 twips
// a pixel). Edges are rounded, not sizes, so neighbouring controls keep touching at any DPI.
inline QRect toPixels(const TwipsRect& twips, qreal dpiX, qreal dpiY) {
    const int x = twipsToPixels(twips.left, dpiX), y = twipsToPixels(twips.top, dpiY);
    return QRect(x, y, twipsToPixels(double(twips.left) + twips.width, dpiX) - x,
                 twipsToPixels(double(twips.top) + twips.height, dpiY) - y);
}

} // namespace tarvel
