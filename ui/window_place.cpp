#include "ui/window_place.h"

#include "numbers/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace tarvel {

namespace {

// A setting read as a single-precision measure; none when it is no number or does not fit.
std::optional<float> settingMeasure(const SettingsStore& settings, const SettingDefault& s,
                                    QChar separator) {
    const std::optional<double> value =
        readWholeNumber(settings.read(s.name, s.defaultValue), separator);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
    return float(*value);
}

} // namespace

TwipsRect readWindowPlace(const SettingsStore& settings, QChar systemSeparator, TwipsRect current) {
    float* const measures[4] = {&current.left, &current.top, &current.width, &current.height};
    for (std::size_t i = 0; i < kWindowSettings.size(); ++i) {
        const std::optional<float> value =
            settingMeasure(settings, kWindowSettings[i], systemSeparator);
        const bool isSize = i >= 2;
        if (value && !(isSize && *value < 0)) *measures[i] = *value;
    }
    return current;
}

void storeWindowPlace(SettingsStore& settings, QChar systemSeparator, const TwipsRect& place) {
    const float measures[4] = {place.left, place.top, place.width, place.height};
    for (std::size_t i = 0; i < kWindowSettings.size(); ++i)
        settings.write(kWindowSettings[i].name, displayText(measures[i], systemSeparator));
}

QRect placeOnScreens(const QRect& wanted, const QList<QRect>& availableScreens, QSize smallest) {
    if (availableScreens.isEmpty()) return wanted;
    QRect screen = availableScreens.first();
    qint64 bestArea = 0;
    for (const QRect& candidate : availableScreens) {
        const QRect common = candidate.intersected(wanted);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            bestArea = area;
            screen = candidate;
        }
    }
    const QSize size = wanted.size().expandedTo(smallest).boundedTo(screen.size());
    const int left = std::clamp(wanted.left(), screen.left(), screen.right() + 1 - size.width());
    const int top = std::clamp(wanted.top(), screen.top(), screen.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}

int fittedListPixels(int innerPixels, double marginTwips, double dotsPerInch) {
    const double twips = double(pixelsToTwips(innerPixels, dotsPerInch)) - marginTwips;
    return std::max(0, twipsToPixels(twips, dotsPerInch));
}

} // namespace tarvel
