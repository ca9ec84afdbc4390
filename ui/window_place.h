#pragma once
// Where the goods directory window stands: its outer position and size in twips, kept in the
// four settings "MainLeft", "MainTop", "MainWidth" and "MainHeight" between runs, and made
// usable on the screens there are now.

#include "storage/settings.h"
#include "ui/twips.h"

#include <QList>
#include <QRect>
#include <QString>

namespace tarvel {

// The window's place as stored: each setting that reads as a number (with "." or the system
// separator) replaces its measure of `current`; an absent setting takes its default, and one
// that is no number, or a negative size, leaves the measure as it was.
TwipsRect readWindowPlace(const SettingsStore& settings, QChar systemSeparator, TwipsRect current);

// Stores the place in the system's general number form.
void storeWindowPlace(SettingsStore& settings, QChar systemSeparator, const TwipsRect& place);

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
