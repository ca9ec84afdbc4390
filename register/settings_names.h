#pragma once
// The settings kept as text in the section "Settings" of the application "Tarvel": the four of
// the goods directory window (its outer position and size in twips) and the size of the panel.

#include <QString>
#include <array>

namespace tarvel {

struct SettingDefault {
    QString name;
    QString defaultValue;
};

inline const QString kSettingsSection = QStringLiteral("Settings");
inline const std::array<SettingDefault, 4> kWindowSettings = {{
    {QStringLiteral("MainLeft"), QStringLiteral("1000")},
    {QStringLiteral("MainTop"), QStringLiteral("1000")},
    {QStringLiteral("MainWidth"), QStringLiteral("6500")},
    {QStringLiteral("MainHeight"), QStringLiteral("6500")},
}};

// The panel window's inner size in whole twips, width and height, followed by "maximized" when
// the window was maximised: "8505 5100", "12000 7200 maximized". A maximised window keeps the
// size it returns to.
inline const SettingDefault kPanelSizeSetting = {QStringLiteral("PanelSize"),
                                                 QStringLiteral("8505 5100")};

} // namespace tarvel
