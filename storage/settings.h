#pragma once
// The per-user settings store: text values kept between runs in the section "Settings" of the
// application "Tarvel", and the names of what is kept there: the four of the goods directory
// window (its outer position and size in twips) and the size of the panel. The windows read
// and write them, qt/ keeps them with QSettings, the tests in memory. Below the register, which
// keeps nothing per user. QtCore only.

#include <QString>
#include <array>

namespace tarvel {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // Values of the section "Settings" of the application "Tarvel".
    virtual QString read(const QString& name, const QString& defaultValue) const = 0;
    virtual void write(const QString& name, const QString& value) = 0;
};

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
