#pragma once
// Where the goods directory window stands: its outer position and size in twips (1440 to
// the inch, so the same on any screen), kept in the four settings "MainLeft", "MainTop",
// "MainWidth" and "MainHeight" between runs.

#include "storage/settings.h"

#include <QList>
#include <QRect>
#include <QString>

namespace tarvel {

inline constexpr double kTwipsPerInch = 1440.0;

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// The window's place as stored: each setting that reads as a number (with "." or the system
// separator) replaces its measure of `current`; an absent setting takes its default, and one
// that is no number, or a negative size, leaves the measure as it was.
TwipsRect readWindowPlace(const SettingsStore& settings, QChar systemSeparator, TwipsRect current);

// Stores the place in the system's general number form.
void storeWindowPlace(SettingsStore& settings, QChar systemSeparator, const TwipsRect& place);

// Screen measures. A position far outside any screen is kept within the range a window
// system can take, so that a damaged setting can never overflow a pixel coordinate.
float pixelsToTwips(int pixels, double dotsPerInch);
int twipsToPixels(double twips, double dotsPerInch);

// The smallest outer size a stored place may give the window, in twips: the search box, both
// buttons and a few lines of the list stay usable.
inline constexpr double kSmallestWidthTwips = 3000;
inline constexpr double kSmallestHeightTwips = 3000;

// A stored place made usable, in pixels: on the screen it mostly stands on (the first screen,
// the primary one, when it stands on none, as after a monitor was unplugged), no smaller than
// `smallest` and no larger than that screen's available area, and wholly inside that area.
QRect placeOnScreens(const QRect& wanted, const QList<QRect>& availableScreens, QSize smallest);

// The list follows the window: it keeps a margin of `marginTwips` within the inner size,
// and never gets a negative size when the window is smaller than the margin.
int fittedListPixels(int innerPixels, double marginTwips, double dotsPerInch);

} // namespace tarvel
