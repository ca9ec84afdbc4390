#pragma once
// Design measures in twips (1440 to the inch, so the same on any screen): the panel's controls
// and the goods window's place are given in them, and drawn in pixels at the screen's DPI.

#include <QRect>
#include <algorithm>
#include <cmath>

namespace tarvel {

inline constexpr double kTwipsPerInch = 1440.0;

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// Screen measures. A position far outside any screen is kept within the range a window
// system can take, so that a damaged setting can never overflow a pixel coordinate.
inline float pixelsToTwips(int pixels, double dotsPerInch) {
    return float(pixels * kTwipsPerInch / dotsPerInch);
}

inline int twipsToPixels(double twips, double dotsPerInch) {
    // Far beyond any screen, yet well inside an int and the largest window Qt takes.
    constexpr double kLimit = 1 << 23;
    return int(std::lround(std::clamp(twips * dotsPerInch / kTwipsPerInch, -kLimit, kLimit)));
}

// A rectangle of twips in device-independent pixels at the given logical DPI (96 DPI: 15 twips
// a pixel). Edges are rounded, not sizes, so neighbouring controls keep touching at any DPI.
inline QRect toPixels(const TwipsRect& twips, qreal dpiX, qreal dpiY) {
    const int x = twipsToPixels(twips.left, dpiX), y = twipsToPixels(twips.top, dpiY);
    return QRect(x, y, twipsToPixels(double(twips.left) + twips.width, dpiX) - x,
                 twipsToPixels(double(twips.top) + twips.height, dpiY) - y);
}

} // namespace tarvel
